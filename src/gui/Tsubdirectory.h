#pragma once
// The window "Verzeichnisse und Dateien werden ermittelt" of the folder walk: shows the folder
// being read and what the walk is doing; "abbrechen" ends the walk (keeping what was found).
#include "platform/progress.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace harlune {

class Tsubdirectory : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit Tsubdirectory(QWidget* parent = nullptr);

    void show() override;
    void setaktion(std::string_view action) override;
    // Shows the folder; handles pending events so that "abbrechen" takes effect; false once
    // it was pressed.
    bool pos(long long current, long long total, bool quadratic, std::string_view path) override;
    void addlog(std::string_view, std::string_view) override {}
    void closeframe() override;

    QPushButton* cancelButton() const { return cancel_; }
    QString currentDirectory() const;

private:
    QLabel* directory_;
    QLabel* status_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};

} // namespace harlune
