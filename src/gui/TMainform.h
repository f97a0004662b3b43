#pragma once
// The main window: shows the program-wide state of HarluneApp and forwards the user's actions
// to the core. It drives start-up (the start timer's steps) and the shutdown order.
#include "app/harlune_app.h"
#include "app/startup.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QMenu;
class QLabel;
class QLineEdit;
class QTableView;
class QTimer;
class QVBoxLayout;
class QToolButton;

namespace harlune {

class CrashReportWindow;
class ResultGridModel;
class IntroductionWindow;
class StartWindow;
class Tharlunekonfig;
class Tmp3indexerstellen;
class Tstatusframe;

class TMainform : public QWidget, private StartHost {
    Q_OBJECT
public:
    TMainform(std::string programFolder, Dialogs& dialogs, const Clock& clock);
    ~TMainform() override;

    // False when start-up found a missing subfolder or an unreadable configuration; the
    // program then ends through the 100 ms end timer without showing this window.
    bool created() const { return created_; }

    HarluneApp& app() { return app_; }
    Tstatusframe* statusframe() const { return statusframe_; }
    Tharlunekonfig* konfig() const { return konfig_; }
    Tmp3indexerstellen* builder() const { return builder_; }
    // The "erst" button: opens the index builder.
    void B_ErstClick();
    // One check of the automatic update (`autoaktualisierungstimerTimer` when `tick`, else the
    // dialog's "aktualisieren").
    void autoUpdate(bool tick);
    StartWindow* startWindow() const { return startWindow_; }
    IntroductionWindow* introductionWindow() const { return intro_; }
    CrashReportWindow* crashReportWindow() const { return crashReport_; }
    QComboBox* mp3indexwahl() const { return selector_; }
    // The search box (`Suchbegriffeingabe`): editable for the sources title and album, a
    // drop-down list for the rating/group source.
    QComboBox* searchBox() const { return search_; }
    QLineEdit* searchInput() const;
    QTableView* resultGrid() const { return grid_; }
    ResultGridModel* resultModel() const { return model_; }
    QLabel* countLabel() const { return count_; }
    QLabel* workerDot() const { return redDot_; }
    // The context menu of the result grid, built for the selected row.
    QMenu* buildContextMenu();
    // Tests: called while a search runs (after the key sink took the focus).
    std::function<void()> onSearching;
    QLabel* pleaseWaitPanel() const { return pleaseWait_; }
    // Milliseconds the start window waits at least (tests shorten it).
    void setStartWindowMinimumMs(int ms) { startMinimumMs_ = ms; }
    // True once the start timer's steps have run.
    bool started() const { return started_; }

    // The close command (the X image): saves the configuration and closes the window.
    void closeCommand();
    // The open button: open or import an index (`B_LadenClick`).
    void B_LadenClick();
    // Shows the configuration dialog.
    void showKonfig();
    // Re-reads the selector and switch from the core state into the controls.
    void refreshIndexControls();

    // The search sequence (`SucheMP3` with its window steps); `enter` for Enter, else the
    // delay timer.
    void runSearch(bool enter);
    // A switch was clicked: source 't', 'a', 'g' or method 'g', 'u', 'o'.
    void setSource(char source);
    void setMethod(char method);
    // "alle MP3s anzeigen".
    void showAll();
    // Sorts by criterion 1..10 in the chosen direction.
    void sortieren(int criterion);
    void setSortDescending(bool descending) { sortDescending_ = descending; }
    // Runs the context-menu entry with this number (0-based, in menu order).
    void contextMenuEntry(int entry);

signals:
    void startFinished();
    void searchFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createSearchControls(QVBoxLayout* layout);
    void suchverfahrenanzeige();
    void sucheextstarten();
    void searchTextEdited(const QString& text);
    void enterPressed();
    void suchtimerTimer();
    bool gridKeyPress(QKeyEvent* key);
    bool keySinkPress(QKeyEvent* key);
    void deliverPendingKeys();
    void appendToSearchText(const QString& text, bool backspace);
    size_t selectedRow() const;
    void selectAndPlay(int delta);
    void columnWidthClick(bool wider);
    void applyColumnWidths();
    void starttimerTimer();
    void mainformEnabledTimer();
    void mp3indexwahlChange(int index);
    void checkAlleToggled(bool on);

    // StartHost
    void showAlbumExplorer() override {}
    void positionVolumeFader() override {}
    void showStartWindow() override;
    void setStartText(std::string_view text) override;
    void showPleaseWait(bool visible) override;
    void firstSearch() override;
    void waitMs(int ms) override;
    void closeStartWindow() override;
    void armIntroductionTimer() override;
    void armCrashReportTimer(const std::string& report) override;
    void openSerialLink() override {}
    void armRunningTimers(int autoUpdateMs) override;

    HarluneApp app_;
    bool created_ = false;
    bool started_ = false;
    bool shutDown_ = false;
    bool focusGiven_ = false;
    int startMinimumMs_ = -1;

    Tstatusframe* statusframe_ = nullptr;
    Tharlunekonfig* konfig_ = nullptr;
    Tmp3indexerstellen* builder_ = nullptr;
    StartWindow* startWindow_ = nullptr;
    IntroductionWindow* intro_ = nullptr;
    CrashReportWindow* crashReport_ = nullptr;

    QLabel* title_ = nullptr;
    QComboBox* selector_ = nullptr;
    QCheckBox* checkAlle_ = nullptr;
    QComboBox* search_ = nullptr;
    QTimer* searchDelay_ = nullptr;
    QWidget* keySink_ = nullptr;
    QLineEdit* connectedInput_ = nullptr;
    QString pendingKeys_;
    QToolButton* sourceButtons_[3] = {};
    QToolButton* methodButtons_[3] = {};
    ResultGridModel* model_ = nullptr;
    bool sortDescending_ = false;
    QLabel* redDot_ = nullptr;
    QLabel* pleaseWait_ = nullptr;
    QLabel* count_ = nullptr;
    QTableView* grid_ = nullptr;
    QTimer* focusWatchdog_ = nullptr;
    QTimer* autoUpdateTimer_ = nullptr;
};

} // namespace harlune
