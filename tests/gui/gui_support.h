#pragma once
// Helpers of the window tests: a program folder on disk and reading its files.
#include "base/datetime.h"
#include "base/line_file.h"
#include "base/paths.h"
#include "temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <functional>
#include <string>

namespace harlune::test {

// A program folder with the five subfolders and a configuration that does not greet.
inline void makeQuietProgramFolder(const TempDir& dir, const std::string& extraConfig = "") {
    dir.makeProgramFolder();
    dir.write("Harlune.INI",
              "[KONFIG]\r\nPROGVERS=3.52a\r\nBEGRUESSEN=0\r\nERSTERSTART=0\r\n" + extraConfig);
}

// Waits (handling events) until the condition holds; false after the time-out.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

inline std::string iniValue(const std::string& iniText, const std::string& key) {
    size_t at = iniText.find("\n" + key + "=");
    if (at == std::string::npos)
        return "<missing>";
    size_t start = at + key.size() + 2;
    return iniText.substr(start, iniText.find('\r', start) - start);
}

} // namespace harlune::test
