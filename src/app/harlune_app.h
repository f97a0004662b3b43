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

#include <memory>
#include <string>

namespace harlune {

class Clock;
class Dialogs;
class ExtraInfoWorker;

class HarluneApp {
public:
    HarluneApp(std::string programFolder, Dialogs& dialogs, const Clock& clock);

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

    // The worker filling the extra information of the shown rows (none until one is set).
    ExtraInfoWorker* worker() const { return worker_; }
    void setWorker(ExtraInfoWorker* worker) { worker_ = worker; }

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

    // `ladeliste` with the current selection and switch: empties the index and loads the
    // selected pair or all lists. False when loading failed (the warning has been shown).
    bool loadIndex();

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
    ExtraInfoWorker* worker_ = nullptr;
    bool previousRunEnded_ = true;
};

} // namespace harlune
