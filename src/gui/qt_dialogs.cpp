#include "gui/qt_dialogs.h"

#include "gui/qt_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace harlune {
namespace {

const QString kTitle = QStringLiteral("Harlune");

QString filterText(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const auto& f : filters) {
        QString patterns = toQt(f.patterns);
        patterns.replace(';', ' ');
        parts << toQt(f.description) + " (" + patterns + ")";
    }
    return parts.join(";;");
}

bool ask(QWidget* parent, QMessageBox::Icon icon, std::string_view text) {
    QMessageBox box(icon, kTitle, messageToQt(text), QMessageBox::NoButton, parent);
    QAbstractButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

void tell(QWidget* parent, QMessageBox::Icon icon, std::string_view text) {
    QMessageBox box(icon, kTitle, messageToQt(text), QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void QtDialogs::warning(std::string_view text) {
    tell(parent_, QMessageBox::Warning, text);
}
void QtDialogs::information(std::string_view text) {
    tell(parent_, QMessageBox::Information, text);
}
void QtDialogs::error(std::string_view text) {
    tell(parent_, QMessageBox::Critical, text);
}
bool QtDialogs::confirm(std::string_view text) {
    return ask(parent_, QMessageBox::Question, text);
}
bool QtDialogs::confirmWarning(std::string_view text) {
    return ask(parent_, QMessageBox::Warning, text);
}

bool QtDialogs::input(std::string_view caption, std::string_view prompt, std::string& value) {
    bool ok = false;
    QString answer = QInputDialog::getText(parent_, toQt(caption), messageToQt(prompt),
                                           QLineEdit::Normal, toQt(value), &ok);
    if (ok)
        value = fromQt(answer);
    return ok;
}

bool QtDialogs::openFile(std::string_view title, const std::vector<FileFilter>& filters,
                         std::string& path) {
    QString chosen =
        QFileDialog::getOpenFileName(parent_, toQt(title), toQt(path), filterText(filters));
    if (chosen.isEmpty())
        return false;
    path = fromQt(chosen);
    return true;
}

bool QtDialogs::saveFile(std::string_view title, const std::vector<FileFilter>& filters,
                         std::string& path) {
    QString chosen =
        QFileDialog::getSaveFileName(parent_, toQt(title), toQt(path), filterText(filters));
    if (chosen.isEmpty())
        return false;
    path = fromQt(chosen);
    return true;
}

bool QtDialogs::chooseFolder(std::string_view title, std::string& path) {
    QString chosen = QFileDialog::getExistingDirectory(parent_, toQt(title), toQt(path));
    if (chosen.isEmpty())
        return false;
    path = fromQt(chosen);
    return true;
}

} // namespace harlune
