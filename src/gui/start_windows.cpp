#include "gui/start_windows.h"

#include "gui/qt_text.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace harlune {

StartWindow::StartWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("startwindow");
    setFixedSize(400, 160);
    setStyleSheet("background: #1d2430; color: #e8e8e8;");
    logo_ = new QLabel("Harlune", this);
    logo_->setGeometry(0, 20, 400, 70);
    logo_->setAlignment(Qt::AlignCenter);
    QFont f = logo_->font();
    f.setPointSize(32);
    f.setBold(true);
    logo_->setFont(f);
    progress_ = new QLabel(this);
    progress_->setObjectName("progress");
    progress_->setGeometry(0, 120, 400, 20);
}

void StartWindow::setProgressText(std::string_view cp1252) {
    QString text = toQt(cp1252);
    progress_->setText(text);
    int width = QFontMetrics(progress_->font()).horizontalAdvance(text);
    progress_->setGeometry(200 - width / 2, 120, width + 2, 20);
    progress_->repaint();
}

QString StartWindow::progressText() const {
    return progress_->text();
}

IntroductionWindow::IntroductionWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("introduction");
    setWindowTitle("Harlune");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<h2>Willkommen bei Harlune</h2>", this);
    caption_ = new QLabel(this);
    auto* body =
        new QLabel("Harlune katalogisiert Ihre MP3-Sammlung: Erstellen Sie einen MP3-Index Ihrer "
                   "Laufwerke und suchen Sie darin schon w\u00e4hrend der Eingabe.",
                   this);
    body->setWordWrap(true);
    auto* ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(title);
    layout->addWidget(caption_);
    layout->addWidget(body);
    layout->addWidget(ok);
}

void IntroductionWindow::setCaptionText(std::string_view cp1252) {
    caption_->setText(toQt(cp1252));
}

QString IntroductionWindow::captionText() const {
    return caption_->text();
}

CrashReportWindow::CrashReportWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("crashreport");
    setWindowTitle("Harlune - Fehlerbericht");
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel("Harlune wurde beim letzten Mal nicht ordnungsgem\u00e4\u00df beendet.", this));
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    layout->addWidget(text_);
    auto* ok = new QPushButton("Schlie\u00dfen", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
}

void CrashReportWindow::setReport(std::string_view cp1252Lines) {
    text_->setPlainText(toQt(cp1252Lines));
}

QString CrashReportWindow::report() const {
    return text_->toPlainText();
}

} // namespace harlune
