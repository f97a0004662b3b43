#include "app/harlune_app.h"

#include "app/shutdown.h"
#include "app/worker_control.h"
#include "base/paths.h"
#include "index/index_files.h"
#include "platform/user_name.h"

namespace harlune {

HarluneApp::HarluneApp(std::string programFolder, Dialogs& dialogs, const Clock& clock)
    : programFolder_(std::move(programFolder)), dialogs_(dialogs), clock_(clock),
      config_(programFolder_), log_(clock, dialogs) {}

std::string HarluneApp::indexFolder() const {
    return joinPath(programFolder_, "Playlists");
}

std::string HarluneApp::configPath() const {
    return configFilePath(programFolder_);
}

bool HarluneApp::create() {
    if (!checkInstallation(programFolder_, dialogs_))
        return false;
    initCrashMarker(programFolder_);
    if (!Konfigladen(programFolder_, config_, selector_, dialogs_)) {
        dialogs_.error(kConfigUnreadableText);
        return false;
    }
    previousRunEnded_ = config_.BEENDET;
    log_.configure(config_.Log, config_.Logdatei);
    return true;
}

bool HarluneApp::saveConfiguration() {
    return Konfigspeichern(programFolder_, config_, selector_, dialogs_);
}

void HarluneApp::markIntroductionShown() {
    config_.ERSTERSTART = false;
    writeIntroductionShown(programFolder_, dialogs_);
}

IndexLoadedFlag HarluneApp::indexLoadedFlag() {
    return {[this] { return readIndexLoaded(programFolder_); },
            [this](bool loaded) { writeIndexLoaded(programFolder_, loaded, dialogs_); }};
}

StartSettings HarluneApp::startSettings() const {
    StartSettings s;
    s.albenExplorer = config_.ALBENEXPLORER;
    s.begruessen = config_.BEGRUESSEN;
    s.systemUserVerwenden = config_.SYSTEMUSERVERWENDEN;
    s.benutzername = config_.BENUTZERNAME;
    s.systemUserName = Benutzername();
    s.ersterStart = config_.ERSTERSTART;
    s.previousRunEnded = previousRunEnded_;
    s.remoteAutoInit = config_.REMOTEAUTOINIT;
    s.autoUpdateSeconds = config_.autoaktualisierung_intervall;
    s.programFolder = programFolder_;
    s.configPath = configPath();
    return s;
}

bool HarluneApp::loadIndex() {
    bool ok = ladeliste(backupgrid_, groups_, dialogs_, config_.SUCHEINALLENLISTEN, selector_.text,
                        indexFolder());
    // A failed load leaves nothing half loaded behind: the next search loads again.
    if (!ok)
        backupgrid_.clear();
    return ok;
}

void HarluneApp::shutdown(ShutdownSteps steps) {
    if (!steps.stopWorker)
        steps.stopWorker = [this] { haltWorker(worker_); };
    steps.markEndedNormally = [this] { writeEndedNormally(programFolder_, dialogs_); };
    runShutdown(steps, programFolder_);
}

} // namespace harlune
