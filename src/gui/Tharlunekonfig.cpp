#include "gui/Tharlunekonfig.h"

#include "app/harlune_app.h"
#include "base/paths.h"
#include "gui/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace harlune {
namespace {
using F = ConfigDialogFields;

QFormLayout* form(QWidget* page) {
    return static_cast<QFormLayout*>(page->layout());
}

QPushButton* button(QWidget* parent, const char* text, const char* name) {
    auto* b = new QPushButton(toQt(text), parent);
    b->setObjectName(name);
    return b;
}
} // namespace

Tharlunekonfig::Tharlunekonfig(HarluneApp& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("Tharlunekonfig");
    setWindowTitle("Harlune Konfigurationen");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    layout->addWidget(pages_);

    // Allgemein
    QWidget* p = addPage("Allgemein");
    text(p, "BENUTZERNAME", "Begr\xFC\xDFungsname:", &F::BENUTZERNAME)
        ->setMaxLength(kBenutzernameMaxLength);
    check(p, "SYSTEMUSERVERWENDEN", "System-Benutzername verwenden", &F::SYSTEMUSERVERWENDEN);
    check(p, "BEGRUESSEN",
          "Benutzer mit Namen begr\xFC\xDF"
          "en",
          &F::BEGRUESSEN);
    check(p, "Log", "Abgespielte MP3s loggen", &F::Log);
    text(p, "Logdatei", "Log-Dateiname:", &F::Logdatei);
    check(p, "FASTCOPY_aktiv",
          "Schnellkopierfunktion ( STR+K kopiert das aktuelle MP3 in den hier angegeben "
          "Zielpfad )",
          &F::FASTCOPY_aktiv);
    text(p, "FASTCOPY_Ziel", "Zielverzeichnis:", &F::FASTCOPY_Ziel);

    // MP3-Suche
    p = addPage("MP3-Suche");
    radio(p, "SOFORTSUCHE",
          "Automatisch nach Eingabe suchen - Verz\xF6gerung:", "Erst nach 'Enter' suchen -",
          &F::SOFORTSUCHE);
    QLineEdit* delay = text(p, "SUCHDELAY", "Verz\xF6gerung:", &F::SUCHDELAY, "ms");
    check(p, "SOFORTSUCHEEINGABELOESCHEN", "Eingabe nach Suche l\xF6schen",
          &F::SOFORTSUCHEEINGABELOESCHEN);
    radio(p, "DOPPELKLICKMP3STARTEN", "MP3 im Player starten",
          "MP3 zur Playliste des Players hinzuf\xFCgen", &F::DOPPELKLICKMP3STARTEN);
    check(p, "Zusatzinfosladen", "Zusatzinformationen anzeigen", &F::Zusatzinfosladen);
    check(p, "AlseigeneSpalte", "Infos als eigene Spalte anzeigen", &F::AlseigeneSpalte);
    text(p, "Spaltenposition", "Abstand vom rechten Rand:", &F::Spaltenposition);
    const std::pair<const char*, bool F::*> shown[] = {{"L\xE4nge", &F::Laenge},
                                                       {"Version", &F::Version},
                                                       {"Layer", &F::Layer},
                                                       {"Modus", &F::Modus},
                                                       {"Album", &F::Album},
                                                       {"Bitrate", &F::Bitrate},
                                                       {"Samplingrate", &F::Samplingrate},
                                                       {"Verzeichnis", &F::Verzeichnis},
                                                       {"Datum", &F::Datum},
                                                       {"Gruppe", &F::Gruppe},
                                                       {"Wertung", &F::Wertung},
                                                       {"Track Nr.", &F::TrackNr}};
    for (const auto& [label, member] : shown)
        check(p, label, label, member);

    // MP3-Player
    p = addPage("MP3-Player");
    radio(p, "STANDARDPLAYER", "MP3s mit verkn\xFCpften Programm abspielen",
          "mit angegebenen Programm abspielen", &F::STANDARDPLAYER);
    QLineEdit* player = text(p, "MP3PLAYER", "Playerprogramm:", &F::MP3PLAYER);
    QPushButton* search = button(p, "Suchen", "Suchen");
    form(p)->addRow(QString(), search);
    QLineEdit* add =
        text(p, "MP3PLAYERPARAMETERADD", "Parameter (Hinzuf\xFCgen):", &F::MP3PLAYERPARAMETERADD);
    check(p, "MP3PLAYERPARAMETERADDSPACE", "+ Leerzeichen", &F::MP3PLAYERPARAMETERADDSPACE);
    QLineEdit* cls =
        text(p, "MP3PLAYERPARAMETERCLASS", "Parameter (Class):", &F::MP3PLAYERPARAMETERCLASS);
    check(p, "MP3PLAYERPARAMETERCLASSSPACE", "+ Leerzeichen", &F::MP3PLAYERPARAMETERCLASSSPACE);
    text(p, "NAMEPLAYER1", "Player 1: Klassenname:", &F::NAMEPLAYER1);
    text(p, "NAMEPLAYER2", "Player 2: Klassenname:", &F::NAMEPLAYER2);
    text(p, "WM_LAUTST", "Lautst\xE4rke: Befehl:", &F::WM_LAUTST);
    choice(p, "WM_LAUTST_TYP", &F::WM_LAUTST_TYP);
    text(p, "WM_LAUTST_MAXVAL", "Max. Val. (100%):", &F::WM_LAUTST_MAXVAL);
    text(p, "WM_PLAY", "Play: Befehl:", &F::WM_PLAY);
    choice(p, "WM_PLAY_TYP", &F::WM_PLAY_TYP);
    text(p, "WM_PAUSE", "Pause: Befehl:", &F::WM_PAUSE);
    choice(p, "WM_PAUSE_TYP", &F::WM_PAUSE_TYP);
    check(p, "soundserver_verwenden",
          "\xFC"
          "ber Harlune Soundserver abspielen",
          &F::soundserver_verwenden);
    text(p, "soundserver_ip", "Server-IP:", &F::soundserver_ip);
    text(p, "soundserver_port", "Port:", &F::soundserver_port)
        ->setValidator(new QIntValidator(kSoundServerPortMin, kSoundServerPortMax, this));
    auto* serverButtons = new QHBoxLayout;
    serverButtons->addWidget(
        button(p, "Verbindung testen", "harlunesoundserver_testen")); // inert until the link
    QPushButton* conversions = button(p, "Pfadkonvertierung", "harlunesoundserver_konvert");
    serverButtons->addWidget(conversions);
    form(p)->addRow(serverButtons);

    // Fader
    p = addPage("Fader");
    text(p, "FADER_VOL_AUSSEN",
         "Playerlautst\xE4rke Faderpos au\xDF"
         "en:",
         &F::FADER_VOL_AUSSEN, "% (entspricht Lautst\xE4rkeregler)");
    text(p, "FADER_VOL_INNEN", "Playerlautst\xE4rke Faderpos mitte:", &F::FADER_VOL_INNEN, "%");
    text(p, "Fade_Speed", "Auto-Fade-Geschwindigkeit:", &F::Fade_Speed, "(1-10)");

    // Fernsteuerung
    p = addPage("Fernsteuerung");
    text(p, "REMOTEDEVICE", "Schnittstelle:", &F::REMOTEDEVICE);
    form(p)->addRow(QString(), button(p, "Fernsteuerung aktivieren", "Fernsteuerung"));
    text(p, "REMOTEDELAY", "Sendedelay:", &F::REMOTEDELAY, "ms")
        ->setValidator(new QIntValidator(kRemoteDelayMin, kRemoteDelayMax, this));
    check(p, "REMOTEAUTOINIT", "automatisch beim Starten der Software aktivieren",
          &F::REMOTEAUTOINIT);
    serialStatus_ = new QLabel(toQt(kSerialInactiveText), p);
    serialStatus_->setObjectName("serialstatus");
    form(p)->addRow(serialStatus_);
    form(p)->addRow(QString(), button(p, "Trace", "Trace"));

    // Web-MP3-Index
    p = addPage("Web-MP3-Index");
    text(p, "SERVER_IP", "Server IP:", &F::SERVER_IP);
    text(p, "SERVER_USER", "Benutzername:", &F::SERVER_USER);
    text(p, "SERVER_PW", "Passwort:", &F::SERVER_PW)->setEchoMode(QLineEdit::Password);
    QAbstractButton* autoIp =
        check(p, "AUTOLOADIP", "IP automatisch aus WEB-CFG Datei laden", &F::AUTOLOADIP);
    text(p, "WEBKONFIG", "Web-Cfg-Link:", &F::WEBKONFIG);
    text(p, "DOWNLOADDIR",
         "Heruntergeladene Dateien in folgendem Verzeichnis speichern:", &F::DOWNLOADDIR);

    // Pre-Player
    p = addPage("Pre-Player");
    QLineEdit* pre = text(p, "MP3PLAYERPRE", "Playerprogramm:", &F::MP3PLAYERPRE);
    QPushButton* searchPre = button(p, "Suchen", "suchenpre");
    form(p)->addRow(QString(), searchPre);
    QLineEdit* preClass =
        text(p, "MP3PLAYERPREPARAMETERCLASS", "Parameter (Class):", &F::MP3PLAYERPREPARAMETERCLASS);
    check(p, "PREPARAMETERADDSPACE", "+ Leerzeichen", &F::PREPARAMETERADDSPACE);
    text(p, "MP3PLAYERPRECLASSNAME", "Klassenname:", &F::MP3PLAYERPRECLASSNAME);

    // Auto-Aktualisierung
    p = addPage("Auto-Aktualisierung");
    check(p, "autoaktualisierung_aktiv", "Auto-Aktualisierung aktivieren",
          &F::autoaktualisierung_aktiv);
    text(p, "autoaktualisierung_intervall",
         "Aktualisierungsintervall: ", &F::autoaktualisierung_intervall, "s")
        ->setValidator(new QIntValidator(kAutoUpdateSecondsMin, kAutoUpdateSecondsMax, this));
    text(p, "autoaktualisierung_verzeichnis",
         "Verzeichnis f\xFCr die Auto-Aktualisierung:", &F::autoaktualisierung_verzeichnis);
    QPushButton* update = button(p, "aktualisieren", "aktualisieren");
    form(p)->addRow(QString(), update);
    connect(update, &QPushButton::clicked, this, [this] {
        if (onAktualisieren)
            onAktualisieren();
    });

    // Design
    p = addPage("Design");
    skins_ = new QListWidget(p);
    skins_->setObjectName("FileListBox1");
    skinInfo_ = new QLabel(p);
    form(p)->addRow(skins_);
    form(p)->addRow(skinInfo_);
    connect(skins_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        std::string skin = skinFromListEntry(fromQt(item->text()));
        if (!skin.empty()) {
            app_.config().SKIN = skin;
            skinInfo_->setText(toQt(skin));
        }
    });

    // The path-conversion dialog of the sound server.
    pathConversion_ = new QDialog(this);
    pathConversion_->setWindowTitle("Pfadkonvertierung");
    auto* conv = new QFormLayout(pathConversion_);
    pathConversion_->setLayout(conv);
    const std::pair<std::string F::*, std::string F::*> pairs[] = {
        {&F::pconv_v1, &F::pconv_n1}, {&F::pconv_v2, &F::pconv_n2}, {&F::pconv_v3, &F::pconv_n3}};
    int n = 1;
    for (const auto& [local, remote] : pairs) {
        auto* l = new QLineEdit(pathConversion_);
        l->setObjectName(QString("pconv_v%1").arg(n));
        auto* r = new QLineEdit(pathConversion_);
        r->setObjectName(QString("pconv_n%1").arg(n++));
        conv->addRow(toQt("lokaler Pfad zu den MP3s:"), l);
        conv->addRow(toQt("Pfad zu den MP3s vom Soundserver aus:"), r);
        texts_.push_back({local, l});
        texts_.push_back({remote, r});
    }
    auto* convOk = new QPushButton("OK", pathConversion_);
    conv->addRow(convOk);
    connect(convOk, &QPushButton::clicked, pathConversion_, &QDialog::accept);
    connect(conversions, &QPushButton::clicked, pathConversion_, &QDialog::show);

    // The three buttons of the dialog.
    auto* buttons = new QHBoxLayout;
    QPushButton* save = button(this, "Konfig speichern", "speichern");
    QPushButton* restore = button(this, "Standard wiederherstellen", "restore");
    QPushButton* cancel = button(this, "Abbrechen", "Abbrechen");
    buttons->addWidget(save);
    buttons->addWidget(restore);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &Tharlunekonfig::speichernClick);
    connect(restore, &QPushButton::clicked, this, &Tharlunekonfig::restoreClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Enter in these fields saves, as the button would.
    for (QLineEdit* e : {delay, player, add, cls, pre, preClass})
        connect(e, &QLineEdit::returnPressed, this, &Tharlunekonfig::speichernClick);
    auto choose = [this](QLineEdit* edit) {
        std::string entry = fromQt(edit->text());
        if (choosePlayerProgram(entry, app_.dialogs()))
            edit->setText(toQt(entry));
    };
    connect(search, &QPushButton::clicked, this, [=] { choose(player); });
    connect(searchPre, &QPushButton::clicked, this, [=] { choose(pre); });
    connect(autoIp, &QAbstractButton::released, this, &Tharlunekonfig::updateServerIpColour);

    onRestoreEnd = [] { QApplication::exit(0); };
}

QWidget* Tharlunekonfig::addPage(const char* title) {
    auto* page = new QWidget(pages_);
    page->setLayout(new QFormLayout(page));
    pages_->addTab(page, toQt(title));
    return page;
}

QLineEdit* Tharlunekonfig::text(QWidget* page, const char* key, const char* label,
                                std::string F::*member, const char* suffix) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(key);
    if (suffix) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(new QLabel(toQt(suffix), page));
        form(page)->addRow(toQt(label), row);
    } else {
        form(page)->addRow(toQt(label), edit);
    }
    texts_.push_back({member, edit});
    return edit;
}

QAbstractButton* Tharlunekonfig::check(QWidget* page, const char* key, const char* label,
                                       bool F::*member) {
    auto* box = new QCheckBox(toQt(label), page);
    box->setObjectName(key);
    form(page)->addRow(box);
    checks_.push_back({member, box});
    return box;
}

void Tharlunekonfig::radio(QWidget* page, const char* key, const char* on, const char* off,
                           bool F::*member) {
    auto* yes = new QRadioButton(toQt(on), page);
    yes->setObjectName(key);
    auto* no = new QRadioButton(toQt(off), page);
    no->setObjectName(QString(key) + "_aus");
    auto* group = new QWidget(page);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    yes->setParent(group);
    no->setParent(group);
    row->addWidget(yes);
    row->addWidget(no);
    form(page)->addRow(group);
    checks_.push_back({member, yes});
    // The "off" button carries the opposite state; setFields checks one of the two.
    connect(yes, &QRadioButton::toggled, no, [no](bool checked) {
        if (checked)
            no->setChecked(false);
    });
}

QComboBox* Tharlunekonfig::choice(QWidget* page, const char* key, int F::*member) {
    auto* combo = new QComboBox(page);
    combo->setObjectName(key);
    combo->addItems({"WM_USER", "WM_COMMAND"});
    form(page)->addRow(QString(), combo);
    choices_.push_back({member, combo});
    return combo;
}

QWidget* Tharlunekonfig::control(const QString& key) const {
    return findChild<QWidget*>(key);
}

ConfigDialogFields Tharlunekonfig::fields() const {
    ConfigDialogFields f;
    for (const auto& t : texts_)
        f.*t.member = fromQt(t.edit->text());
    for (const auto& c : checks_)
        f.*c.member = c.button->isChecked();
    for (const auto& c : choices_)
        f.*c.member = c.combo->currentIndex();
    return f;
}

void Tharlunekonfig::setFields(const ConfigDialogFields& f) {
    for (const auto& t : texts_)
        t.edit->setText(toQt(f.*t.member));
    for (const auto& c : checks_) {
        c.button->setChecked(f.*c.member);
        if (auto* r = qobject_cast<QRadioButton*>(c.button); r && !(f.*c.member)) {
            if (auto* off = r->parentWidget()->findChild<QRadioButton*>(r->objectName() + "_aus"))
                off->setChecked(true);
        }
    }
    for (const auto& c : choices_)
        c.combo->setCurrentIndex(f.*c.member);
    updateServerIpColour();
}

void Tharlunekonfig::updateServerIpColour() {
    auto* ip = findChild<QLineEdit*>("SERVER_IP");
    auto* autoIp = findChild<QCheckBox*>("AUTOLOADIP");
    QPalette pal = ip->palette();
    pal.setColor(QPalette::Base,
                 autoIp->isChecked() ? palette().color(QPalette::Button) : QColor(Qt::white));
    ip->setPalette(pal);
}

void Tharlunekonfig::fillSkinList() {
    skins_->clear();
    QDir dir(toQt(joinPath(app_.programFolder(), "Skins")));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        skins_->addItem("[" + name + "]");
    skinInfo_->setText(toQt(app_.config().SKIN));
}

void Tharlunekonfig::anzeigen() {
    setFields(dialogFieldsFrom(app_.config()));
    serialStatus_->setText(toQt(serialStatusText(false, app_.config().REMOTEDEVICE)));
    fillSkinList();
    pages_->setCurrentIndex(0);
    show();
}

void Tharlunekonfig::speichernClick() {
    ConfigDialogFields f = fields();
    ConfigSaveHooks hooks = saveHooks;
    hooks.closeDialog = [this] { accept(); };
    speichern(f, hooks);
    setFields(f);
}

void Tharlunekonfig::speichern(ConfigDialogFields& f, const ConfigSaveHooks& hooks) {
    harlune::speichernClick(f, app_.config(), app_.programFolder(), app_.selector(), app_.dialogs(),
                            hooks);
}

void Tharlunekonfig::restoreClick() {
    if (harlune::restoreClick(app_.programFolder(), app_.dialogs()) && onRestoreEnd)
        onRestoreEnd();
}

} // namespace harlune
