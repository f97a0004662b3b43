#include "index/auto_update.h"

#include "base/cp1252.h"
#include "base/crash_marker.h"
#include "base/paths.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace harlune {
namespace {

const char* const kDebugCheck = "Autoaktualisierung: Verzeichnis \"";
const char* const kDebugCheckEnd = "\" \xFC"
                                   "berpr\xFC"
                                   "fen";
const char* const kDebugPrepare = "Autoaktualisierung durchf\xFChren: vorbereiten.";
const char* const kDebugRead = "Autoaktualisierung durchf\xFChren: Verzeichnis einlesen.";
const char* const kDebugBuild =
    "Autoaktualisierung durchf\xFChren: MP3-Index \"Autoload\" erstellen.";

} // namespace

int autoUpdateFolderCount(std::string_view folder) {
    int count = 1; // the folder itself
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            ++count;
        else if (it->is_regular_file(typeError) && isMp3Name(it->path().filename().native()))
            ++count;
    }
    return count;
}

AutoUpdateOutcome doautoaktualisierung(AutoUpdateSettings settings, IndexBuilder& builder,
                                       IndexSelector& selector, Dialogs& dialogs,
                                       const AutoUpdateHooks& hooks) {
    if (hooks.stopTimer)
        hooks.stopTimer();
    const std::string folder = settings.verzeichnis;
    if (!directoryExists(folder)) {
        dialogs.warning(kAutoUpdateInvalidFolderText);
        settings.aktiv = false;
        return AutoUpdateOutcome::FolderMissing;
    }
    Debug(kDebugCheck + folder + kDebugCheckEnd);
    const int count = autoUpdateFolderCount(folder);
    AutoUpdateOutcome outcome = AutoUpdateOutcome::Unchanged;
    if (count != settings.anz) {
        settings.anz = count;
        outcome = AutoUpdateOutcome::Declined;
        if (dialogs.confirm(kAutoUpdateQuestion)) {
            Debug(kDebugPrepare);
            builder.anzeigen(selector);
            if (hooks.showBuilder)
                hooks.showBuilder();
            builder.options.indexname = kAutoloadIndexName;
            builder.options.web = false;

            Debug(kDebugRead);
            builder.add(hooks.readFolder ? hooks.readFolder(folder)
                                         : Getfilepath(folder, {}, dialogs));

            Debug(kDebugBuild);
            outcome = builder.doerstellen(false, selector).written ? AutoUpdateOutcome::Rebuilt
                                                                   : AutoUpdateOutcome::NotRebuilt;
        }
        if (hooks.saveConfiguration)
            hooks.saveConfiguration();
    }
    if (settings.aktiv && hooks.startTimer)
        hooks.startTimer();
    return outcome;
}

} // namespace harlune
