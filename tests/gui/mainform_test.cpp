// The main window in this process, offscreen: start-up steps, crash report, the guarded first
// load, the configuration dialog, the status window and the close command.
#include "app/config_dialog.h"
#include "app/status_model.h"
#include "base/crash_marker.h"
#include "fake_clock.h"
#include "gui/TMainform.h"
#include "gui/Tharlunekonfig.h"
#include "gui/Tstatusframe.h"
#include "gui/gui_support.h"
#include "gui/start_windows.h"
#include "platform/scripted_dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace harlune;
using namespace harlune::test;

namespace {
const char* const kPair[] = {"#EXTM3U\r\n#EXTINF:10,Artist - One\r\n/m/one.mp3\r\n/m/two.mp3\r\n",
                             "#EXTALB\r\nAlbum A\r\nAlbum B\r\n"};

struct Started {
    TempDir dir;
    ScriptedDialogs dialogs;
    SystemClock clock;
    std::unique_ptr<TMainform> form;

    void start(const std::string& extraConfig = "") {
        makeQuietProgramFolder(dir, extraConfig);
        form = std::make_unique<TMainform>(dir.path(), dialogs, clock);
        form->setStartWindowMinimumMs(0);
        QVERIFY(form->created());
        QVERIFY(waitFor([&] { return form->started(); }));
    }
    std::string ini() const { return TempDir::read(dir.file("Harlune.INI")); }
};
} // namespace

class MainformTest : public QObject {
    Q_OBJECT
private slots:
    void startLoadsTheSelectedIndexUnderTheGuard() {
        Started s;
        std::string list = s.dir.write("Playlists/Test.M3U", kPair[0]);
        s.dir.write("Playlists/Test.ALB", kPair[1]);
        s.start("DATEI1=" + list + "\r\nAKTUELL=" + list + "\r\n");
        QCOMPARE(s.form->app().backupgrid().size(), size_t(2));
        QCOMPARE(s.form->mp3indexwahl()->currentText(), QString::fromStdString(list));
        QCOMPARE(iniValue(s.ini(), "BEENDET"), std::string("0"));
        QCOMPARE(iniValue(s.ini(), "INDEXGELADEN"), std::string("1"));
        QVERIFY(!s.form->startWindow()->isVisible());
        QCOMPARE(s.form->startWindow()->progressText(),
                 QString("Harlune wird geladen: Einlesen der Harlune-Indexdatei(en)"));
        QVERIFY(!s.form->pleaseWaitPanel()->isVisible());
        QVERIFY(!s.form->crashReportWindow()->isVisible());
        QVERIFY(s.dialogs.entries().empty());
    }

    void anUnfinishedLoadIsSkippedOnceWithItsWarning() {
        Started s;
        std::string list = s.dir.write("Playlists/Test.M3U", kPair[0]);
        s.dir.write("Playlists/Test.ALB", kPair[1]);
        s.start("INDEXGELADEN=0\r\nAKTUELL=" + list + "\r\nDATEI1=" + list + "\r\n");
        QCOMPARE(s.form->app().backupgrid().size(), size_t(0));
        QCOMPARE(s.dialogs.texts("warning"), std::vector<std::string>{kIndexLoadFailedText});
        QCOMPARE(iniValue(s.ini(), "INDEXGELADEN"), std::string("1"));
    }

    void aRunThatDidNotEndShowsTheCrashReport() {
        Started s;
        s.dir.write("Debug.TMP", "Harlune 3.52a\r\nZuletzt gestartete Funktion:\r\n\r\n"
                                 "B_Check_Mouseup\r\n");
        s.start("BEENDET=0\r\n");
        QVERIFY(waitFor([&] { return s.form->crashReportWindow()->isVisible(); }));
        QString report = s.form->crashReportWindow()->report();
        QVERIFY2(report.contains("B_Check_Mouseup"), qPrintable(report));
        QVERIFY(report.contains("Es liegt keine TMP-Datei (2) vor!"));
        QVERIFY(report.contains("[KONFIG]"));
    }

    void theCloseCommandSavesAndShutsDownInOrder() {
        Started s;
        s.start();
        // With no index selected the start loads nothing and says nothing.
        QVERIFY(s.dialogs.entries().empty());
        s.form->app().config().SUCHDELAY = 777;
        s.form->closeCommand();
        std::string ini = s.ini();
        QCOMPARE(iniValue(ini, "SUCHDELAY"), std::string("777"));
        QCOMPARE(iniValue(ini, "BEENDET"), std::string("1"));
        QVERIFY(!fileExists(s.dir.file("debug2.tmp")));
        QVERIFY(TempDir::read(s.dir.file("Debug.TMP"))
                    .ends_with("Programmende: Harlune-Shutdown abschl.\r\n"));
    }

    void theConfigurationDialogHasItsNinePagesAndChecksInput() {
        Started s;
        s.start();
        // The focus watchdog enables the main window (and its dialog) once the start is done.
        QVERIFY(waitFor([&] { return s.form->isEnabled(); }));
        s.dialogs.clear();
        Tharlunekonfig* k = s.form->konfig();
        k->anzeigen();
        QStringList titles;
        for (int i = 0; i < k->pages()->count(); ++i)
            titles << k->pages()->tabText(i);
        QCOMPARE(titles,
                 QStringList({"Allgemein", "MP3-Suche", "MP3-Player", "Fader", "Fernsteuerung",
                              "Web-MP3-Index", "Pre-Player", "Auto-Aktualisierung", "Design"}));
        auto* outer = qobject_cast<QLineEdit*>(k->control("FADER_VOL_AUSSEN"));
        QVERIFY(outer);
        outer->setText("101");
        k->findChild<QPushButton*>("speichern")->click();
        QCOMPARE(s.dialogs.texts("information"), std::vector<std::string>{kOuterVolumeRangeText});
        QVERIFY(k->isVisible());

        auto* delay = qobject_cast<QLineEdit*>(k->control("SUCHDELAY"));
        outer->setText("80");
        delay->setText("abc");
        k->findChild<QPushButton*>("speichern")->click();
        QVERIFY(!k->isVisible());
        QCOMPARE(iniValue(s.ini(), "SUCHDELAY"), std::string("1"));
        QCOMPARE(iniValue(s.ini(), "FADER_VOL_AUSSEN"), std::string("80"));
    }

    void restoringTheDefaultsDeletesTheFileAndEnds() {
        Started s;
        s.start();
        bool ended = false;
        s.form->konfig()->onRestoreEnd = [&] { ended = true; };
        s.dialogs.addAnswer("yes");
        s.form->konfig()->restoreClick();
        QVERIFY(ended);
        QVERIFY(!fileExists(s.dir.file("Harlune.INI")));
        QCOMPARE(s.dialogs.texts("confirm"), std::vector<std::string>{kRestoreQuestionText});
        QCOMPARE(s.dialogs.texts("information"), std::vector<std::string>{kRestoreDoneText});
    }

    void closingTheStatusWindowStopsTheOperation() {
        FakeClock clock;
        Tstatusframe frame(clock);
        frame.show();
        QVERIFY(frame.pos(1, 1000, false, "/m/a.mp3"));
        clock.advanceSeconds(2 * 0.864);
        QTest::qWait(60); // the window draws at most every 40 ms
        QVERIFY(frame.pos(250, 1000, false, "/m/b.mp3"));
        QCOMPARE(frame.model().view().timePerItem, std::string("8.00 ms"));
        QCOMPARE(frame.applicationTitle(), QString("Harlune (25%)"));
        frame.closeButton()->click();
        QTest::qWait(60);
        QVERIFY(!frame.pos(252, 1000, false, "/m/c.mp3"));
        QCOMPARE(frame.applicationTitle(), QString("Harlune"));
    }
};

QTEST_MAIN(MainformTest)
#include "mainform_test.moc"
