#pragma once
// The status window of long operations: renders the status model and lets the user end the
// operation by closing it. While it is visible the main window is disabled.
#include "app/status_model.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPlainTextEdit;
class QPushButton;

namespace harlune {

class Tstatusframe : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit Tstatusframe(const Clock& clock, QWidget* parent = nullptr);

    void show() override;
    void setaktion(std::string_view action) override;
    bool pos(long long current, long long total, bool quadratic, std::string_view path) override;
    void addlog(std::string_view first, std::string_view second) override;
    void closeframe() override;

    const StatusModel& model() const { return model_; }
    QPushButton* closeButton() const { return close_; }
    // "Harlune", or "Harlune (42%)" while an operation runs.
    QString applicationTitle() const { return applicationTitle_; }

signals:
    void applicationTitleChanged(const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void render();
    bool drawingDue() const;
    void showNewLogLines();

    static constexpr int kDrawIntervalMs = 40;

    StatusModel model_;
    QLabel *total_, *current_, *remaining_, *timePerItem_, *rate_, *remainingTime_, *action_,
        *file_, *greenDot_, *redDot_;
    QProgressBar *progress_, *speed_;
    QPlainTextEdit* log_;
    QPushButton* close_;
    QString applicationTitle_ = "Harlune";
    QElapsedTimer lastDrawn_;
    bool drawNow_ = true; // the current item is one the window draws
    size_t shownLogLines_ = 0;
};

} // namespace harlune
