#pragma once
// The index builder window "Generiere eines MP3-Index (MP3 CD oder Festplatte)": the index name,
// where titles come from, whether all extra information is stored, normal or web index; the
// folders are added through the directory selection and "Erstellen" builds the pair. It also
// runs the automatic update of "Autoload" for the configuration dialog's timer.
#include "index/auto_update.h"
#include "index/builder.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace harlune {

class HarluneApp;
class Tsubdirectory;
class Tverzeichniswahl;
class Twebconfig;

class Tmp3indexerstellen : public QDialog {
    Q_OBJECT
public:
    // `status`: the status window of long operations.
    Tmp3indexerstellen(HarluneApp& app, Progress& status, QWidget* parent = nullptr);
    ~Tmp3indexerstellen() override;

    // Prepares the window (index name from the selector, lists emptied) and shows it.
    void anzeigen(bool modal);
    void hinzufuegenClick();
    void erstellenClick() { doerstellen(true); }
    bool doerstellen(bool askBeforeOverwrite);
    void EinstellungenClick();

    // `doautoaktualisierung` with the configuration's values; the timer hooks come from the
    // configuration dialog, the configuration is saved through the application.
    AutoUpdateOutcome autoaktualisierung(std::function<void()> stopTimer,
                                         std::function<void()> startTimer);

    IndexBuilder& builder() { return builder_; }
    Tverzeichniswahl& verzeichniswahl() { return *verzeichniswahl_; }
    Tsubdirectory& subdirectory() { return *subdirectory_; }
    Twebconfig& webconfig() { return *webconfig_; }

    QLineEdit* indexname;
    QRadioButton *use_datei_check, *use_id3_check, *Norm_mp3index, *web_mp3index;
    QCheckBox* alles_eintragen;
    QPushButton *hinzufuegen, *erstellen, *einstellungen;
    QLabel* count;

signals:
    // A pair was written and selected in the application's selector.
    void indexBuilt(const QString& listPath);

private:
    void toControls();
    void fromControls();

    HarluneApp& app_;
    IndexBuilder builder_;
    std::unique_ptr<Tsubdirectory> subdirectory_;
    std::unique_ptr<Tverzeichniswahl> verzeichniswahl_;
    std::unique_ptr<Twebconfig> webconfig_;
};

} // namespace harlune
