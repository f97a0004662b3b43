#include "gui/Tstatusframe.h"

#include "gui/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace harlune {
namespace {
QLabel* dot(const char* colour, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFixedSize(12, 12);
    l->setStyleSheet(QString("background:%1; border-radius:6px;").arg(colour));
    return l;
}
} // namespace

Tstatusframe::Tstatusframe(const Clock& clock, QWidget* parent) : QDialog(parent), model_(clock) {
    setObjectName("Tstatusframe");
    setWindowTitle(toQt(kStatusCaption));
    setModal(false);
    resize(460, 420);
    auto* grid = new QGridLayout(this);
    auto value = [this]() {
        auto* l = new QLabel(toQt(kStatusNoValue), this);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    int row = 0;
    auto addRow = [&](const char* label, QLabel*& field) {
        field = value();
        grid->addWidget(new QLabel(toQt(label), this), row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow(kStatusLabelTotal, total_);
    addRow(kStatusLabelCurrent, current_);
    addRow(kStatusLabelRemaining, remaining_);
    addRow(kStatusLabelTimePerItem, timePerItem_);
    addRow(kStatusLabelRate, rate_);
    addRow(kStatusLabelRemainingTime, remainingTime_);
    addRow(kStatusLabelAction, action_);
    action_->setFixedWidth(145);
    file_ = value();
    file_->setFrameShape(QFrame::Panel);
    grid->addWidget(file_, row++, 0, 1, 2);
    progress_ = new QProgressBar(this);
    grid->addWidget(progress_, row++, 0, 1, 2);
    speed_ = new QProgressBar(this);
    speed_->setOrientation(Qt::Vertical);
    speed_->setRange(0, kStatusSpeedBarMax);
    speed_->setTextVisible(false);
    grid->addWidget(speed_, 0, 2, 7, 1);
    greenDot_ = dot("#1db31d", this);
    redDot_ = dot("#d01c1c", this);
    redDot_->hide();
    grid->addWidget(greenDot_, 7, 2);
    grid->addWidget(redDot_, 8, 2);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    grid->addWidget(log_, row++, 0, 1, 3);
    close_ = new QPushButton(toQt(kStatusCloseButton), this);
    grid->addWidget(close_, row++, 0, 1, 3);
    connect(close_, &QPushButton::clicked, this, [this] { close(); });
    // The action is shown at once when the window is due to be drawn; otherwise the next
    // drawing shows the latest one.
    model_.onActionShown = [this] {
        if (!drawNow_)
            return;
        action_->setText(toQt(model_.view().action));
        action_->repaint();
    };
}

void Tstatusframe::show() {
    model_.show();
    render();
    QDialog::show();
}

void Tstatusframe::setaktion(std::string_view action) {
    model_.setaktion(action);
}

void Tstatusframe::showNewLogLines() {
    // Only the lines added since the last look are appended: the log can grow long.
    const auto& lines = model_.view().log;
    if (lines.size() < shownLogLines_) {
        log_->clear();
        shownLogLines_ = 0;
    }
    for (; shownLogLines_ < lines.size(); ++shownLogLines_)
        log_->appendPlainText(toQt(lines[shownLogLines_]));
}

bool Tstatusframe::drawingDue() const {
    return !lastDrawn_.isValid() || lastDrawn_.elapsed() >= kDrawIntervalMs;
}

bool Tstatusframe::pos(long long current, long long total, bool quadratic, std::string_view path) {
    // Drawing the window and handling events cost far more than one file takes: both happen at
    // most every kDrawIntervalMs (and for the first and the last item), so the window stays
    // responsive without slowing the operation. "schließen" takes effect at the next of them.
    const bool draw = drawingDue() || current < 2 || current >= total;
    drawNow_ = draw;
    if (draw)
        QApplication::processEvents();
    const bool open = model_.pos(current, total, quadratic, path);
    if (draw) {
        render();
        lastDrawn_.restart();
    }
    return open;
}

void Tstatusframe::addlog(std::string_view first, std::string_view second) {
    model_.addlog(first, second);
    // Shown at the next drawing, or at once outside a running operation.
    if (drawNow_)
        showNewLogLines();
}

void Tstatusframe::closeframe() {
    model_.closeframe();
    render(); // the last figures and every remark, for a window that stays open
    if (!model_.visible())
        QDialog::hide();
}

void Tstatusframe::closeEvent(QCloseEvent* event) {
    model_.close();
    render();
    QDialog::closeEvent(event);
}

void Tstatusframe::reject() {
    model_.close();
    render();
    QDialog::reject();
}

void Tstatusframe::render() {
    const StatusView& v = model_.view();
    total_->setText(QString::number(v.total));
    current_->setText(QString::number(v.current));
    remaining_->setText(QString::number(v.remaining));
    timePerItem_->setText(toQt(v.timePerItem));
    rate_->setText(toQt(v.rate));
    remainingTime_->setText(toQt(kStatusRemainingTimePrefix) + " " + toQt(v.remainingTime));
    action_->setText(toQt(v.action));
    file_->setText(toQt(v.fileName));
    progress_->setRange(0, static_cast<int>(std::min<long long>(v.progressMaximum, INT32_MAX)));
    progress_->setValue(static_cast<int>(std::min<long long>(v.progressPosition, INT32_MAX)));
    speed_->setValue(v.speedBar);
    greenDot_->setVisible(v.greenDot);
    redDot_->setVisible(!v.greenDot);
    showNewLogLines();
    // The application's title (task bar) shows the percentage while an operation runs.
    QString title = toQt(v.applicationTitle);
    if (title != applicationTitle_) {
        applicationTitle_ = title;
        emit applicationTitleChanged(title);
    }
}

} // namespace harlune
