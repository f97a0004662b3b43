#include "gui/TMainform.h"

#include "app/shutdown.h"
#include "app/version.h"
#include "app/worker_control.h"
#include "base/crash_marker.h"
#include "gui/ResultGridModel.h"
#include "gui/Tharlunekonfig.h"
#include "gui/Tmp3indexerstellen.h"
#include "gui/Tstatusframe.h"
#include "gui/qt_text.h"
#include "gui/start_windows.h"
#include "index/index_import.h"
#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace harlune {
namespace {
const char* const kOpenHint = "\xF6"
                              "ffnen eines MP3-Index";
const char* const kSelectorHint = "Hier kann ein MP3-Index ausgew\xE4hlt werden";
const char* const kAllListsHint = "Suche in allen vorhandenen Listen";
const char* const kAllListsLabel = "in allen Listen s. ";
const char* const kMinimizeHint = "Mu\xDF ich das wirklich erkl\xE4ren ?!?";
const char* const kWorkerDotHint = "Wenn hier ein roter Punkt erscheint, werden grade die "
                                   "Zusatzinformationen der gezeigten MP3s eingelesen";
constexpr int kEndTimerMs = 100;
constexpr int kFocusWatchdogMs = 100;
} // namespace

TMainform::TMainform(std::string programFolder, Dialogs& dialogs, const Clock& clock)
    : app_(std::move(programFolder), dialogs, clock) {
    setObjectName("Mainform");
    setWindowTitle(toQt(kMainWindowTitle));

    // The controls exist before the configuration is read, which fills some of them.
    auto* layout = new QVBoxLayout(this);
    auto* titleRow = new QHBoxLayout;
    title_ = new QLabel(toQt(kMainWindowTitle), this);
    auto* open = new QToolButton(this);
    open->setObjectName("B_Laden");
    open->setText(QString::fromUtf8("\xC3\xB6"
                                    "ffnen"));
    open->setToolTip(toQt(kOpenHint));
    auto* erst = new QToolButton(this);
    erst->setObjectName("B_Erst");
    erst->setText("erst");
    erst->setToolTip(QString::fromUtf8("MP3-Index erstellen"));
    auto* config = new QToolButton(this);
    config->setObjectName("B_Konfig");
    config->setText("Konfiguration");
    auto* minimize = new QToolButton(this);
    minimize->setObjectName("I_B_Minimize");
    minimize->setText("M");
    minimize->setToolTip(toQt(kMinimizeHint));
    auto* close = new QToolButton(this);
    close->setObjectName("I_B_Close");
    close->setText("X");
    titleRow->addWidget(title_, 1);
    for (QToolButton* b : {open, erst, config, minimize, close})
        titleRow->addWidget(b);
    layout->addLayout(titleRow);

    auto* indexRow = new QHBoxLayout;
    selector_ = new QComboBox(this);
    selector_->setObjectName("mp3indexwahl");
    selector_->setToolTip(toQt(kSelectorHint));
    checkAlle_ = new QCheckBox(toQt(kAllListsLabel), this);
    checkAlle_->setObjectName("check_alle");
    checkAlle_->setToolTip(toQt(kAllListsHint));
    indexRow->addWidget(selector_, 1);
    indexRow->addWidget(checkAlle_);
    layout->addLayout(indexRow);

    createSearchControls(layout);

    // Not a child of this window: the main window is disabled while the status window is up,
    // and the status window's own "schließen" must stay usable.
    statusframe_ = new Tstatusframe(clock);
    startWindow_ = new StartWindow;
    intro_ = new IntroductionWindow(this);
    crashReport_ = new CrashReportWindow(this);

    connect(minimize, &QToolButton::clicked, this, [this] { showMinimized(); });
    connect(close, &QToolButton::clicked, this, [this] { closeCommand(); });
    connect(config, &QToolButton::clicked, this, [this] { showKonfig(); });
    connect(erst, &QToolButton::clicked, this, [this] { B_ErstClick(); });
    connect(open, &QToolButton::clicked, this, [this] { B_LadenClick(); });

    // `FormCreate`: the folder check and the configuration; either failing ends the program.
    created_ = app_.create();
    if (!created_) {
        QTimer::singleShot(kEndTimerMs, qApp, &QApplication::quit);
        return;
    }
    konfig_ = new Tharlunekonfig(app_, this);
    konfig_->saveHooks.setFirstColumnFromRight = [this](int) { applyColumnWidths(); };
    konfig_->saveHooks.redrawResults = [this] {
        model_->reset();
        applyColumnWidths();
    };
    konfig_->saveHooks.setAutoUpdateInterval = [this](int seconds) {
        autoUpdateTimer_->setInterval(autoUpdateIntervalMs(seconds));
    };
    resize(app_.config().WIDTH, app_.config().HEIGHT);
    move(app_.config().LEFT, app_.config().TOP);
    refreshIndexControls();
    connect(selector_, &QComboBox::currentIndexChanged, this, &TMainform::mp3indexwahlChange);
    suchverfahrenanzeige();
    applyColumnWidths();
    app_.startWorkerThread(
        [this](std::function<void()> f) {
            QMetaObject::invokeMethod(this, f, Qt::QueuedConnection);
        },
        [this](size_t row) { model_->rowChanged(row); },
        [this](bool running) { redDot_->setVisible(running); });
    connect(checkAlle_, &QCheckBox::toggled, this, &TMainform::checkAlleToggled);

    // The focus watchdog enables the window once the start is through.
    setEnabled(false);
    focusWatchdog_ = new QTimer(this);
    focusWatchdog_->setInterval(kFocusWatchdogMs);
    connect(focusWatchdog_, &QTimer::timeout, this, &TMainform::mainformEnabledTimer);
    autoUpdateTimer_ = new QTimer(this);
    connect(autoUpdateTimer_, &QTimer::timeout, this, [this] { autoUpdate(true); });
    builder_ = new Tmp3indexerstellen(app_, *statusframe_, this);
    builder_->builder().freeResults = [this] {
        stopWorker(app_.worker(), WorkerStopPoint::BuilderOrSpecialSearch);
        app_.emptyIndex();
        model_->reset();
    };
    connect(builder_, &Tmp3indexerstellen::indexBuilt, this, [this] { refreshIndexControls(); });
    konfig_->onAktualisieren = [this] { autoUpdate(false); };
    QTimer::singleShot(1, this, &TMainform::starttimerTimer);
}

TMainform::~TMainform() {
    delete startWindow_;
    delete statusframe_;
}

void TMainform::refreshIndexControls() {
    QSignalBlocker block(selector_);
    QSignalBlocker blockCheck(checkAlle_);
    selector_->clear();
    for (const auto& item : app_.selector().items)
        selector_->addItem(toQt(item));
    selector_->setCurrentIndex(selector_->findText(toQt(app_.selector().text)));
    checkAlle_->setChecked(app_.config().SUCHEINALLENLISTEN);
}

void TMainform::mp3indexwahlChange(int index) {
    stopWorker(app_.worker(), WorkerStopPoint::IndexSelectionChanged);
    app_.selector().text = index >= 0 ? fromQt(selector_->itemText(index)) : std::string();
    app_.emptyIndex();
    model_->reset();
    refreshIndexControls();
}

void TMainform::checkAlleToggled(bool on) {
    stopWorker(app_.worker(), WorkerStopPoint::IndexSelectionChanged);
    app_.config().SUCHEINALLENLISTEN = on;
    app_.emptyIndex();
    model_->reset();
    refreshIndexControls();
    // The search runs again with the current text.
    sucheextstarten();
    if (isVisible())
        grid_->setFocus();
}

void TMainform::B_LadenClick() {
    stopWorker(app_.worker(), WorkerStopPoint::OpenImport);
    app_.results().clear();
    model_->reset();
    harlune::B_LadenClick(app_.indexFolder(), app_.backupgrid(), app_.selector(), app_.dialogs());
    refreshIndexControls();
    grid_->setFocus();
}

void TMainform::starttimerTimer() {
    harlune::starttimerTimer(*this, app_.startSettings(), app_.indexLoadedFlag(), app_.dialogs(),
                             app_.clock());
    started_ = true;
    emit startFinished();
}

void TMainform::showStartWindow() {
    startWindow_->show();
    QApplication::processEvents();
}

void TMainform::setStartText(std::string_view text) {
    startWindow_->setProgressText(text);
    QApplication::processEvents();
}

void TMainform::showPleaseWait(bool visible) {
    pleaseWait_->setVisible(visible);
    pleaseWait_->repaint();
}

void TMainform::firstSearch() {
    // The first search at start loads the selected index (or all lists) like one with Enter.
    // With no index selected there is nothing to load: a first start must not greet the user
    // with a load error about an empty file name.
    if (app_.selector().text.empty() && !app_.config().SUCHEINALLENLISTEN)
        return;
    runSearch(true);
    refreshIndexControls();
}

void TMainform::waitMs(int ms) {
    if (startMinimumMs_ >= 0)
        ms = std::min(ms, startMinimumMs_);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void TMainform::closeStartWindow() {
    startWindow_->close();
}

void TMainform::armIntroductionTimer() {
    QTimer::singleShot(1, this, [this] {
        app_.markIntroductionShown();
        intro_->setCaptionText(introductionCaption(programDate(app_.programFolder())));
        intro_->show();
    });
}

void TMainform::armCrashReportTimer(const std::string& report) {
    QTimer::singleShot(1, this, [this, report] {
        crashReport_->setReport(report);
        crashReport_->show();
    });
}

void TMainform::armRunningTimers(int autoUpdateMs) {
    focusWatchdog_->start();
    autoUpdateTimer_->start(autoUpdateMs);
}

void TMainform::B_ErstClick() {
    Debug("B_Erst_Mouseup");
    builder_->anzeigen(true);
}

void TMainform::autoUpdate(bool tick) {
    // A tick acts only while the update is on and this window is usable and in front.
    if (tick &&
        !autoUpdateTickDue(app_.config().autoaktualisierung_aktiv,
                           isEnabled() && !QApplication::activeModalWidget(), isActiveWindow()))
        return;
    AutoUpdateOutcome outcome = builder_->autoaktualisierung([this] { autoUpdateTimer_->stop(); },
                                                             [this] { autoUpdateTimer_->start(); });
    if (outcome == AutoUpdateOutcome::FolderMissing) {
        if (auto* box =
                qobject_cast<QAbstractButton*>(konfig_->control("autoaktualisierung_aktiv")))
            box->setChecked(false);
    }
    refreshIndexControls();
}

void TMainform::mainformEnabledTimer() {
    setEnabled(!statusframe_->isVisible());
    if (!focusGiven_ && !intro_->isVisible() && !QApplication::activeModalWidget()) {
        focusGiven_ = true;
        searchInput() ? searchInput()->setFocus() : search_->setFocus();
    }
}

void TMainform::showKonfig() {
    konfig_->anzeigen();
}

void TMainform::closeCommand() {
    app_.config().TOP = y();
    app_.config().LEFT = x();
    app_.config().HEIGHT = height();
    app_.config().WIDTH = width();
    app_.config().SUCHEINALLENLISTEN = checkAlle_->isChecked();
    app_.selector().text = fromQt(selector_->currentText());
    app_.saveConfiguration();
    close();
}

void TMainform::closeEvent(QCloseEvent* event) {
    if (created_ && !shutDown_) {
        shutDown_ = true;
        ShutdownSteps steps;
        steps.wait = [](int ms) {
            QEventLoop loop;
            QTimer::singleShot(ms, &loop, &QEventLoop::quit);
            loop.exec();
        };
        steps.stopWorker = [this] { haltWorker(app_.worker()); };
        app_.shutdown(steps);
    }
    event->accept();
    QApplication::quit();
}

} // namespace harlune
