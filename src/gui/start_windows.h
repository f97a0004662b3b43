#pragma once
// The small windows of start-up: the start window with its progress text, the introduction
// window shown on the first start, and the crash report shown after a run that did not end
// normally.
#include <QDialog>
#include <QWidget>

#include <string_view>

class QLabel;
class QPlainTextEdit;

namespace harlune {

class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);
    // Shows a progress text ("Harlune wird geladen: ..."), centred around a point 200 pixels
    // from the window's left edge, and paints it at once.
    void setProgressText(std::string_view cp1252);
    QString progressText() const;

private:
    QLabel* logo_;
    QLabel* progress_;
};

class IntroductionWindow : public QDialog {
    Q_OBJECT
public:
    explicit IntroductionWindow(QWidget* parent = nullptr);
    // "Version " + version + " - " + program date.
    void setCaptionText(std::string_view cp1252);
    QString captionText() const;

private:
    QLabel* caption_;
};

class CrashReportWindow : public QDialog {
    Q_OBJECT
public:
    explicit CrashReportWindow(QWidget* parent = nullptr);
    void setReport(std::string_view cp1252Lines);
    QString report() const;

private:
    QPlainTextEdit* text_;
};

} // namespace harlune
