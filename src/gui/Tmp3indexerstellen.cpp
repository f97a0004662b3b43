#include "gui/Tmp3indexerstellen.h"

#include "app/harlune_app.h"
#include "gui/Tsubdirectory.h"
#include "gui/Tverzeichniswahl.h"
#include "gui/Twebconfig.h"
#include "gui/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace harlune {
namespace {
const char* const kInitialCount = "=> 0 Datei(n) / 0 Verz. ";
}

Tmp3indexerstellen::Tmp3indexerstellen(HarluneApp& app, Progress& status, QWidget* parent)
    : QDialog(parent), app_(app), builder_(app.indexFolder(), app.dialogs(), status) {
    setObjectName("Tmp3indexerstellen");
    setWindowTitle(toQt(kBuilderCaption));
    subdirectory_ = std::make_unique<Tsubdirectory>(this);
    verzeichniswahl_ =
        std::make_unique<Tverzeichniswahl>(builder_, *subdirectory_, app.dialogs(), this);
    webconfig_ = std::make_unique<Twebconfig>(builder_.web, app.dialogs(), this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(new QLabel(toQt(kLabelIndexName), this), row, 0);
    indexname = new QLineEdit(this);
    indexname->setObjectName("indexname");
    grid->addWidget(indexname, row++, 1);
    auto radio = [&](const char* label, const char* name, QButtonGroup* group) {
        auto* r = new QRadioButton(toQt(label), this);
        r->setObjectName(name);
        group->addButton(r);
        grid->addWidget(r, row++, 0, 1, 2);
        return r;
    };
    auto* names = new QButtonGroup(this);
    use_datei_check = radio(kLabelFileNames, "use_datei_check", names);
    use_id3_check = radio(kLabelTags, "use_id3_check", names);
    alles_eintragen = new QCheckBox(toQt(kLabelAllExtra), this);
    alles_eintragen->setObjectName("alles_eintragen");
    grid->addWidget(alles_eintragen, row++, 0, 1, 2);
    auto* kinds = new QButtonGroup(this);
    Norm_mp3index = radio(kLabelNormalIndex, "Norm_mp3index", kinds);
    web_mp3index = radio(kLabelWebIndex, "web_mp3index", kinds);
    count = new QLabel(toQt(kInitialCount), this);
    count->setObjectName("count");
    grid->addWidget(count, row++, 0, 1, 2);
    hinzufuegen = new QPushButton(toQt("Hinzuf\xFCgen"), this);
    einstellungen = new QPushButton(QStringLiteral("Einstellungen"), this);
    erstellen = new QPushButton(QStringLiteral("Erstellen"), this);
    grid->addWidget(hinzufuegen, row, 0);
    grid->addWidget(einstellungen, row, 1);
    grid->addWidget(erstellen, ++row, 0, 1, 2);

    connect(hinzufuegen, &QPushButton::clicked, this, &Tmp3indexerstellen::hinzufuegenClick);
    connect(einstellungen, &QPushButton::clicked, this, &Tmp3indexerstellen::EinstellungenClick);
    connect(erstellen, &QPushButton::clicked, this, &Tmp3indexerstellen::erstellenClick);
    connect(indexname, &QLineEdit::returnPressed, this, &Tmp3indexerstellen::erstellenClick);
    connect(web_mp3index, &QRadioButton::clicked, this, [this] { builder_.web_mp3indexClick(); });
    connect(alles_eintragen, &QCheckBox::clicked, this,
            [this](bool checked) { builder_.alles_eintragenClick(checked); });

    verzeichniswahl_->onRead = [this] { count->setText(toQt(builder_.countLabel())); };
    builder_.openDirectorySelection = [this] { hinzufuegenClick(); };
    builder_.openWebSettings = [this] { EinstellungenClick(); };
    builder_.hideBuilder = [this] { hide(); };
    builder_.freeResults = [this] { app_.emptyIndex(); };
    toControls();
}

Tmp3indexerstellen::~Tmp3indexerstellen() = default;

void Tmp3indexerstellen::toControls() {
    const BuilderOptions& o = builder_.options;
    indexname->setText(toQt(o.indexname));
    use_id3_check->setChecked(o.namesFromTags);
    use_datei_check->setChecked(!o.namesFromTags);
    alles_eintragen->setChecked(o.alles_eintragen);
    Norm_mp3index->setChecked(!o.web);
    web_mp3index->setChecked(o.web);
}

void Tmp3indexerstellen::fromControls() {
    BuilderOptions& o = builder_.options;
    o.indexname = fromQt(indexname->text());
    o.namesFromTags = !use_datei_check->isChecked();
    o.alles_eintragen = alles_eintragen->isChecked();
    o.web = web_mp3index->isChecked();
}

void Tmp3indexerstellen::anzeigen(bool modal) {
    fromControls();
    builder_.anzeigen(app_.selector());
    toControls();
    count->setText(toQt(kInitialCount));
    if (modal) {
        exec();
    } else {
        setModal(false);
        show();
    }
}

void Tmp3indexerstellen::hinzufuegenClick() {
    verzeichniswahl_->setAllDrivesEnabled(true);
    verzeichniswahl_->exec();
}

void Tmp3indexerstellen::EinstellungenClick() {
    webconfig_->anzeigen();
}

bool Tmp3indexerstellen::doerstellen(bool askBeforeOverwrite) {
    fromControls();
    const BuildResult result = builder_.doerstellen(askBeforeOverwrite, app_.selector());
    toControls();
    if (result.written)
        emit indexBuilt(toQt(result.listPath));
    return result.written;
}

AutoUpdateOutcome Tmp3indexerstellen::autoaktualisierung(std::function<void()> stopTimer,
                                                         std::function<void()> startTimer) {
    Config& config = app_.config();
    AutoUpdateHooks hooks;
    hooks.stopTimer = std::move(stopTimer);
    hooks.startTimer = std::move(startTimer);
    hooks.saveConfiguration = [this] { app_.saveConfiguration(); };
    hooks.showBuilder = [this] {
        toControls();
        count->setText(toQt(kInitialCount));
        setModal(false);
        show();
    };
    hooks.readFolder = [this](const std::string& folder) {
        // The folder is read as the directory selection reads it, so its check box decides
        // whether subfolders are read.
        verzeichniswahl_->setAllDrivesEnabled(true);
        verzeichniswahl_->setCurrentDirectory(folder);
        return Getfilepath(folder, {verzeichniswahl_->mitunterverz->isChecked(), false},
                           app_.dialogs(), subdirectory_.get());
    };
    fromControls();
    AutoUpdateOutcome outcome =
        doautoaktualisierung({config.autoaktualisierung_aktiv,
                              config.autoaktualisierung_verzeichnis, config.autoaktualisierung_anz},
                             builder_, app_.selector(), app_.dialogs(), hooks);
    toControls();
    count->setText(toQt(builder_.countLabel()));
    if (outcome == AutoUpdateOutcome::Rebuilt)
        emit indexBuilt(toQt(app_.selector().text));
    return outcome;
}

} // namespace harlune
