// The real program, started as a process: single instance, the installation check, and what
// the next start does after the process was killed.
#include "app/startup.h"
#include "base/cp1252.h"
#include "gui/TMainform.h"
#include "gui/gui_support.h"
#include "gui/start_windows.h"
#include "platform/scripted_dialogs.h"

#include <QProcess>
#include <QtTest>

using namespace harlune;
using namespace harlune::test;

namespace {

// A started harlune process with its own lock folder and dialog log.
struct Program {
    QProcess process;
    std::string log;

    Program(const TempDir& dir, const std::string& runtimeDir, const std::string& folder) {
        log = dir.file("dialogs-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".log");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtimeDir));
        env.insert("HARLUNE_DIALOG_LOG", QString::fromStdString(log));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("HARLUNE_EXE"), {QString::fromStdString(folder)});
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    std::string dialogLog() const { return TempDir::read(log); }
    void kill9() {
        process.kill(); // SIGKILL
        process.waitForFinished();
    }
};

std::string ini(const TempDir& dir) {
    return TempDir::read(dir.file("Harlune.INI"));
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!qEnvironmentVariable("HARLUNE_EXE").isEmpty()); }

    void aSecondInstanceSaysSoAndEnds() {
        TempDir dir;
        makeQuietProgramFolder(dir);
        Program first(dir, dir.path(), dir.path());
        QVERIFY(first.process.waitForStarted());
        QVERIFY(waitFor([&] { return iniValue(ini(dir), "BEENDET") == "0"; }));

        Program second(dir, dir.path(), dir.path());
        QVERIFY(second.process.waitForFinished(10000));
        QCOMPARE(second.process.exitCode(), 0);
        QCOMPARE(second.dialogLog(), std::string("warning\tAnwendung l\xC3\xA4uft bereits!\n"));
        QCOMPARE(first.process.state(), QProcess::Running);
    }

    void aFolderWithoutKonfigsIsReportedAndNothingIsWritten() {
        TempDir dir;
        TempDir folder;
        folder.makeProgramFolder();
        QVERIFY(QDir(QString::fromStdString(folder.file("Konfigs"))).removeRecursively());
        Program p(dir, dir.path(), folder.path());
        QVERIFY(p.process.waitForFinished(10000));
        QCOMPARE(p.dialogLog(), "error\tHarlune wurde nicht vollst\xC3\xA4ndig installiert!\\n\\r"
                                "\\n\\r" +
                                    cp1252ToUtf8(folder.path()) + "\n");
        QStringList left = QDir(QString::fromStdString(folder.path()))
                               .entryList(QDir::Files | QDir::NoDotAndDotDot);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(",")));
    }

    void killedAfterStartUpTheNextStartShowsTheCrashReport() {
        TempDir dir;
        std::string list = dir.write("Playlists/A.M3U", "#EXTM3U\r\n/m/a.mp3\r\n");
        dir.write("Playlists/A.ALB", "#EXTALB\r\nAlbum\r\n");
        makeQuietProgramFolder(dir, "DATEI1=" + list + "\r\nAKTUELL=" + list + "\r\n");
        {
            Program p(dir, dir.path(), dir.path());
            QVERIFY(waitFor([&] { return iniValue(ini(dir), "INDEXGELADEN") == "1"; }));
            QVERIFY(waitFor([&] { return fileExists(dir.file("Debug.TMP")); }));
            p.kill9();
        }
        QCOMPARE(iniValue(ini(dir), "BEENDET"), std::string("0"));
        const std::string lastAction = TempDir::read(dir.file("Debug.TMP"));

        ScriptedDialogs dialogs;
        SystemClock clock;
        TMainform next(dir.path(), dialogs, clock);
        next.setStartWindowMinimumMs(0);
        QVERIFY(waitFor([&] { return next.crashReportWindow()->isVisible(); }));
        QString report = next.crashReportWindow()->report();
        QVERIFY2(
            report.startsWith(
                QString::fromStdString(cp1252ToUtf8(lastAction)).replace("\r\n", "\n").trimmed()),
            qPrintable(report));
    }

    void killedDuringTheFirstLoadTheNextStartSkipsItOnce() {
        TempDir dir;
        // An index large enough that loading it takes a while: the process is killed while
        // it reads it.
        const size_t entries = 8'000'000;
        std::string list;
        list.reserve(entries * 3 + 16);
        list = "#EXTM3U\r\n";
        for (size_t i = 0; i < entries; ++i)
            list += "x\r\n";
        std::string listPath = dir.write("Playlists/Big.M3U", list);
        list.clear();
        dir.write("Playlists/Big.ALB", "#EXTALB\r\n" + std::string(entries * 2, '\n'));
        makeQuietProgramFolder(dir, "DATEI1=" + listPath + "\r\nAKTUELL=" + listPath + "\r\n");
        {
            Program p(dir, dir.path(), dir.path());
            QVERIFY(waitFor([&] { return iniValue(ini(dir), "INDEXGELADEN") == "0"; }, 20000));
            p.kill9();
        }
        QCOMPARE(iniValue(ini(dir), "INDEXGELADEN"), std::string("0"));
        dir.write("Playlists/Big.M3U", "#EXTM3U\r\n/m/a.mp3\r\n");
        dir.write("Playlists/Big.ALB", "#EXTALB\r\nA\r\n");

        SystemClock clock;
        {
            ScriptedDialogs dialogs;
            TMainform second(dir.path(), dialogs, clock);
            second.setStartWindowMinimumMs(0);
            QVERIFY(waitFor([&] { return second.started(); }));
            QCOMPARE(dialogs.texts("warning"), std::vector<std::string>{kIndexLoadFailedText});
            QCOMPARE(second.app().backupgrid().size(), size_t(0));
            second.closeCommand();
        }
        QCOMPARE(iniValue(ini(dir), "INDEXGELADEN"), std::string("1"));
        ScriptedDialogs dialogs;
        TMainform third(dir.path(), dialogs, clock);
        third.setStartWindowMinimumMs(0);
        QVERIFY(waitFor([&] { return third.started(); }));
        QCOMPARE(third.app().backupgrid().size(), size_t(1));
        QVERIFY(dialogs.texts("warning").empty());
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
