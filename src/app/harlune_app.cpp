#include "app/harlune_app.h"

#include "app/extra_info_worker.h"
#include "app/shutdown.h"
#include "app/worker_control.h"
#include "base/crash_marker.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/fields.h"
#include "index/index_files.h"
#include "platform/user_name.h"

namespace harlune {
namespace {

// Puts row order[k] at position k, with one swap per misplaced row.
void applyOrder(ResultTable& rows, const std::vector<size_t>& order) {
    std::vector<size_t> where(order.size()), at(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        where[i] = at[i] = i;
    for (size_t k = 0; k < order.size(); ++k) {
        const size_t p = where[order[k]];
        if (p == k)
            continue;
        rows.swapRows(k, p);
        const size_t displaced = at[k];
        at[k] = order[k];
        at[p] = displaced;
        where[order[k]] = k;
        where[displaced] = p;
    }
}

} // namespace

HarluneApp::HarluneApp(std::string programFolder, Dialogs& dialogs, const Clock& clock)
    : programFolder_(std::move(programFolder)), dialogs_(dialogs), clock_(clock),
      config_(programFolder_), log_(clock, dialogs) {}

HarluneApp::~HarluneApp() {
    if (ownWorker_)
        ownWorker_->requestStopAndWait();
}

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

void HarluneApp::startWorkerThread(std::function<void(std::function<void()>)> post,
                                   std::function<void(size_t)> rowChanged,
                                   std::function<void(bool)> runningChanged) {
    rowChanged_ = std::move(rowChanged);
    ownWorker_ = std::make_unique<GetlengthWorker>(
        [this] {
            std::vector<WorkerRow> rows;
            rows.reserve(results_.size());
            for (size_t i = 0; i < results_.size(); ++i)
                rows.push_back({std::string(backupgrid_.title(results_.row(i).entry)),
                                std::string(results_.path(i, backupgrid_)),
                                std::string(results_.record(i, backupgrid_))});
            return rows;
        },
        [this, post](uint64_t pass, size_t row, const std::string& record) {
            post([this, pass, row, record] { applyExtraInfo(pass, row, record); });
        },
        [this, post, runningChanged](uint64_t pass, bool running) {
            // A pass that was replaced meanwhile no longer speaks for the dot.
            post([this, runningChanged, pass, running] {
                if (runningChanged && ownWorker_ && pass == ownWorker_->pass())
                    runningChanged(running);
            });
        });
}

ExtraInfoWorker* HarluneApp::worker() const {
    return ownWorker_.get();
}

ExtraInfoSwitches HarluneApp::extraInfoSwitches() const {
    const Config& c = config_;
    return {c.Laenge,      c.Version, c.Layer,  c.Modus, c.Samplingrate, c.Bitrate,
            c.Verzeichnis, c.Wertung, c.Gruppe, c.Datum, c.Album,        c.TrackNr};
}

void HarluneApp::applyExtraInfo(uint64_t pass, size_t row, const std::string& record) {
    if (!ownWorker_ || pass != ownWorker_->pass() || row >= results_.size())
        return;
    results_.replaceRecord(row, record);
    std::string text = extraInfoText(extraInfoSwitches(), results_.path(row, backupgrid_), record);
    if (config_.AlseigeneSpalte)
        results_.setCell1(row, text);
    else
        results_.setCell0(row, std::string(results_.cell0(row)) + text);
    if (rowChanged_)
        rowChanged_(row);
}

SearchOutcome HarluneApp::search(std::string_view text, bool enter,
                                 const std::function<void()>& wait) {
    lastSearchText_ = std::string(text);
    stopWorker(worker(), enter ? WorkerStopPoint::EnterSearch : WorkerStopPoint::DelayedSearch);
    SearchContext context{backupgrid_,
                          groups_,
                          results_,
                          dialogs_,
                          selector_.text,
                          indexFolder(),
                          config_.SUCHEINALLENLISTEN};
    SearchOutcome outcome = SucheMP3(context, text, config_.Suchquelle, config_.Suchverfahren);
    if (worker() && !outcome.indexMissing)
        getdateilaenge(
            *worker(), config_.Zusatzinfosladen, clock_, wait ? wait : [] {});
    return outcome;
}

void HarluneApp::emptyIndex() {
    results_.clear();
    backupgrid_.clear();
}

bool HarluneApp::checkRow(size_t row) {
    if (row < results_.size() && !trimView(results_.cell0(row)).empty())
        return true;
    dialogs_.information(kSearchFirstText);
    return false;
}

bool HarluneApp::sortResults(int criterion, bool descending) {
    if (worker() && worker()->running()) {
        dialogs_.warning(kWorkerBusyText);
        return false;
    }
    Debug("Eintr\xE4ge in Suchergebnis sortieren\n\r" + countText(results_.size()) +
          " -> Sortiere nach:" + std::to_string(criterion));
    std::vector<std::string> keys;
    keys.reserve(results_.size());
    for (size_t i = 0; i < results_.size(); ++i)
        keys.push_back(sortKey(criterion, results_.cell0(i), results_.path(i, backupgrid_),
                               results_.record(i, backupgrid_)));
    applyOrder(results_, sortOrder(std::move(keys), descending));
    return true;
}

void HarluneApp::gesamtlaenge(size_t selected) {
    if (!checkRow(selected))
        return;
    if (worker() && worker()->running()) {
        dialogs_.warning(kWorkerBusyText);
        return;
    }
    if (!config_.Zusatzinfosladen)
        dialogs_.warning(kExtraInfoOffText);
    int64_t total = 0;
    for (size_t i = 0; i < results_.size(); ++i)
        total += lengthSeconds(fieldView(results_.record(i, backupgrid_), kFieldLaenge));
    dialogs_.information(playTimeText(total, results_.size()));
}

void HarluneApp::toggleMark(size_t row) {
    if (row < results_.size() && !results_.cell0(row).empty())
        results_.setCell0(row, harlune::toggleMark(results_.cell0(row)));
}

void HarluneApp::markAll() {
    for (size_t i = 0; i < results_.size(); ++i)
        if (!isMarked(results_.cell0(i)))
            results_.setCell0(i, withMark(results_.cell0(i)));
}

void HarluneApp::shutdown(ShutdownSteps steps) {
    if (!steps.stopWorker)
        steps.stopWorker = [this] { haltWorker(worker()); };
    steps.markEndedNormally = [this] { writeEndedNormally(programFolder_, dialogs_); };
    runShutdown(steps, programFolder_);
}

} // namespace harlune
