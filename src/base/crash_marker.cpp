#include "base/crash_marker.h"

#include "base/paths.h"

#include <cstdio>
#include <mutex>

namespace harlune {
namespace {
struct MarkerState {
    std::mutex lock; // the worker thread announces its reads too
    std::string path;
    std::string version;
};
MarkerState& state() {
    static MarkerState s;
    return s;
}
} // namespace

void setCrashMarker(std::string path, std::string versionText) {
    std::lock_guard g(state().lock);
    state().path = std::move(path);
    state().version = std::move(versionText);
}

const std::string& crashMarkerPath() {
    return state().path;
}

std::string crashMarkerText(std::string_view versionText, std::string_view action) {
    std::string text = "Harlune ";
    text.append(versionText);
    text += "\r\nZuletzt gestartete Funktion:\r\n\r\n";
    text.append(action);
    text += "\r\n";
    return text;
}

void Debug(std::string_view action) {
    std::lock_guard g(state().lock);
    if (state().path.empty())
        return;
    const std::string text = crashMarkerText(state().version, action);
    if (std::FILE* f = std::fopen(fsPath(state().path).c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

} // namespace harlune
