#pragma once
// The program-wide state the main window shows: the program folder, the configuration, the
// in-memory index with its group list, the index selector, and the services every part calls
// (dialogs, clock, activity log, the extra-information worker). The Qt main window owns one and
// only renders it; harlune-cli drives the same object.
#include "app/activity_log.h"
#include "app/config.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "index/group_list.h"
#include "index/index_selector.h"
#include "index/mp3_index.h"
#include "search/grid_operations.h"
#include "search/result_rows.h"
#include "search/search_engine.h"

#include <functional>
#include <memory>
#include <string>

namespace harlune {

class Clock;
class Dialogs;
class ExtraInfoWorker;
class GetlengthWorker;

class HarluneApp {
public:
    HarluneApp(std::string programFolder, Dialogs& dialogs, const Clock& clock);
    ~HarluneApp();

    const std::string& programFolder() const { return programFolder_; }
    std::string indexFolder() const;
    std::string configPath() const;

    Dialogs& dialogs() { return dialogs_; }
    const Clock& clock() const { return clock_; }
    Config& config() { return config_; }
    IndexSelector& selector() { return selector_; }
    MP3Index& backupgrid() { return backupgrid_; }
    GroupList& mp3gruppenliste() { return groups_; }
    ActivityLog& activityLog() { return log_; }

    ResultTable& results() { return results_; }
    const std::string& lastSearchText() const { return lastSearchText_; }

    // The worker filling the extra information of the shown rows (none until it is started).
    ExtraInfoWorker* worker() const;
    // Creates the program's own worker. Its results reach the rows through `post`, which runs a
    // function on the thread that owns the rows; `rowChanged` then tells the window which row
    // to redraw, `runningChanged` shows or hides the red dot.
    void startWorkerThread(std::function<void(std::function<void()>)> post,
                           std::function<void(size_t)> rowChanged,
                           std::function<void(bool)> runningChanged);
    // Takes a filled row of pass `pass` into the results (dropped when it is not the current
    // pass's); on the rows' thread.
    void applyExtraInfo(uint64_t pass, size_t row, const std::string& record);
    // Which extra information the rows show.
    ExtraInfoSwitches extraInfoSwitches() const;

    // The search sequence of Enter (`enter`) or of the delay timer: stops the worker at its
    // point, runs `SucheMP3` with the configured source and method, then starts a worker pass.
    // `wait` keeps the windows alive while a running pass is waited for.
    SearchOutcome search(std::string_view text, bool enter, const std::function<void()>& wait = {});
    // Empties the in-memory index and the result rows (index selection or switch changed).
    void emptyIndex();
    // Sorts the rows by criterion 1..10 (`sortieren`); refused with a warning while the worker
    // runs. False when refused.
    bool sortResults(int criterion, bool descending);
    // The total play time (`gesamtlaenge`) with its messages; `selected` is the selected row.
    void gesamtlaenge(size_t selected);
    // The "+" key and "Alle markieren".
    void toggleMark(size_t row);
    void markAll();
    // False (after "Sie müssen zuerst ...") when the row is not a result row.
    bool checkRow(size_t row);

    // Start-up (`FormCreate`): checks the five subfolders and reads the configuration. False
    // when the program has to end (the reason has been shown).
    bool create();
    // Whether the run before this one ended normally (BEENDET as read at start).
    bool previousRunEnded() const { return previousRunEnded_; }

    // `Konfigspeichern`; false (with a message) when the file cannot be written.
    bool saveConfiguration();
    // ERSTERSTART = false once the introduction has been shown.
    void markIntroductionShown();
    // The INDEXGELADEN flag as the first load's guard uses it.
    IndexLoadedFlag indexLoadedFlag();
    // What the start timer takes from the configuration.
    StartSettings startSettings() const;

    // The shutdown steps after the close command; `steps` carries the work of the windows.
    void shutdown(ShutdownSteps steps);

private:
    std::string programFolder_;
    Dialogs& dialogs_;
    const Clock& clock_;
    Config config_;
    IndexSelector selector_;
    MP3Index backupgrid_;
    GroupList groups_;
    ActivityLog log_;
    ResultTable results_;
    std::string lastSearchText_;
    std::unique_ptr<GetlengthWorker> ownWorker_;
    std::function<void(size_t)> rowChanged_;
    bool previousRunEnded_ = true;
};

} // namespace harlune
