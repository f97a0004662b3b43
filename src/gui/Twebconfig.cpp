#include "gui/Twebconfig.h"

#include "gui/qt_text.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace harlune {

Twebconfig::Twebconfig(WebSettings& web, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), web_(web), dialogs_(dialogs) {
    setObjectName("Twebconfig");
    setWindowTitle(toQt(kWebConfigCaption));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto edit = [&](const char* label, const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        form->addRow(toQt(label), e);
        return e;
    };
    webroot = edit(kLabelWebRoot, "webroot");
    internetadresse = edit(kLabelWebAddress, "internetadresse");
    username = edit(kLabelWebUser, "username");
    pwd = edit(kLabelWebPassword, "pwd");
    pwd->setEchoMode(QLineEdit::Password);
    auto radio = [&](const char* label, const char* name) {
        auto* r = new QRadioButton(toQt(label), this);
        r->setObjectName(name);
        layout->addWidget(r);
        return r;
    };
    keinezugangsdaten = radio(kLabelNoCredentials, "keinezugangsdaten");
    konfigverwenden = radio(kLabelConfigCredentials, "konfigverwenden");
    inmp3indexspeichern = radio(kLabelStoredCredentials, "inmp3indexspeichern");
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("ok");
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &Twebconfig::okClick);
    toFields();
}

void Twebconfig::toFields() {
    webroot->setText(toQt(web_.webroot));
    internetadresse->setText(toQt(web_.internetadresse));
    username->setText(toQt(web_.username));
    pwd->setText(toQt(web_.pwd));
    keinezugangsdaten->setChecked(web_.credentials == WebCredentials::keinezugangsdaten);
    konfigverwenden->setChecked(web_.credentials == WebCredentials::konfigverwenden);
    inmp3indexspeichern->setChecked(web_.credentials == WebCredentials::inmp3indexspeichern);
}

void Twebconfig::anzeigen() {
    toFields();
    exec();
}

void Twebconfig::okClick() {
    WebSettings web;
    web.webroot = fromQt(webroot->text());
    web.internetadresse = fromQt(internetadresse->text());
    web.username = fromQt(username->text());
    web.pwd = fromQt(pwd->text());
    web.credentials = keinezugangsdaten->isChecked()     ? WebCredentials::keinezugangsdaten
                      : inmp3indexspeichern->isChecked() ? WebCredentials::inmp3indexspeichern
                                                         : WebCredentials::konfigverwenden;
    const std::string problem = checkWebSettings(web);
    if (!problem.empty()) {
        dialogs_.warning(problem);
        return;
    }
    web_ = web;
    accept();
}

} // namespace harlune
