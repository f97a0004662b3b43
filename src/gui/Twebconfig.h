#pragma once
// The web settings of a web index ("Einstellungen (Web-MP3-Index)"): the web server's root
// folder, the address it publishes it under, and how access data go into the index.
#include "index/builder.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace harlune {

class Twebconfig : public QDialog {
    Q_OBJECT
public:
    Twebconfig(WebSettings& web, Dialogs& dialogs, QWidget* parent = nullptr);

    // Copies the settings into the fields and shows the window modally.
    void anzeigen();
    // Takes the fields over and closes the window when the checks pass (else a warning).
    void okClick();

    QLineEdit *webroot, *internetadresse, *username, *pwd;
    QRadioButton *keinezugangsdaten, *konfigverwenden, *inmp3indexspeichern;

private:
    void toFields();
    WebSettings& web_;
    Dialogs& dialogs_;
};

} // namespace harlune
