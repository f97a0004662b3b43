// Searching in the main window, offscreen: the delay timer, Enter, the key sink, the grid's
// keys and its context menu.
#include "app/worker_control.h"
#include "base/cp1252.h"
#include "gui/ResultGridModel.h"
#include "gui/TMainform.h"
#include "gui/gui_support.h"
#include "platform/scripted_dialogs.h"
#include "search/grid_operations.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QtTest>

using namespace harlune;
using namespace harlune::test;

namespace {

struct Window {
    TempDir dir;
    ScriptedDialogs dialogs;
    SystemClock clock;
    std::unique_ptr<TMainform> form;

    explicit Window(const std::string& extraConfig = "SUCHDELAY=400\r\n") {
        std::string list =
            dir.write("Playlists/Test.M3U",
                      "#EXTM3U\r\n#EXTINF:1,Abba - One\r\n/m/one.mp3\r\n#EXTINF:1,Beatles - Two\r\n"
                      "/m/two.mp3\r\n#EXTINF:1,Abba - Three\r\n/m/three.mp3\r\n");
        dir.write("Playlists/Test.ALB", "#EXTALB\r\nA\xA1"
                                        "3:30\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "2\xA1\xA1\xA1-\xA1\r\n"
                                        "B\xA1"
                                        "2:45\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "0\xA1\xA1\xA1-\xA1\r\n"
                                        "C\xA1??\xA1\xA1\xA1\xA1\xA1\xA1 \xA1"
                                        "0\xA1\xA1\xA1-\xA1\r\n");
        makeQuietProgramFolder(dir,
                               extraConfig + "DATEI1=" + list + "\r\nAKTUELL=" + list + "\r\n");
        form = std::make_unique<TMainform>(dir.path(), dialogs, clock);
        form->setStartWindowMinimumMs(0);
        form->show();
        waitFor([&] { return form->started() && form->isEnabled(); });
        // Keys go to the focus widget of the active window.
        QApplication::setActiveWindow(form.get());
        waitFor([&] { return QApplication::focusWidget() != nullptr; });
    }
    QString count() const { return form->countLabel()->text(); }
    void waitForWorker() {
        waitFor([&] { return !form->app().worker()->running(); });
        QTest::qWait(20);
    }
};

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void typingSearchesAfterTheDelayAndEnterAtOnce() {
        Window w;
        QLineEdit* input = w.form->searchInput();
        QVERIFY(input);
        QTest::keyClicks(input, "abba");
        QCOMPARE(w.form->app().results().size(), size_t(0)); // not yet: the delay runs
        QVERIFY(waitFor([&] { return w.count() == "=> 2 MP3s"; }));

        input->setFocus();
        input->clear();
        QTest::keyClicks(input, "two");
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(w.count(), QString("=> 1 MP3s"));
        QCOMPARE(w.form->resultModel()->data(w.form->resultModel()->index(0, 0)).toString(),
                 QString("  2. Beatles - Two"));
    }

    void keysTypedDuringASearchAreAddedAtTheEnd() {
        Window w;
        QLineEdit* input = w.form->searchInput();
        QTest::keyClicks(input, "abc");
        w.form->onSearching = [] {
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), QString("keysink"));
            QTest::keyClicks(QApplication::focusWidget(), "xy");
        };
        QTest::keyClick(input, Qt::Key_Return);
        w.form->onSearching = nullptr;
        QVERIFY2(waitFor([&] { return input->text() == "abcxy"; }), qPrintable(input->text()));
    }

    void gridKeysMarkAndTypeIntoTheSearch() {
        Window w;
        QLineEdit* input = w.form->searchInput();
        QTest::keyClicks(input, "*");
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(w.count(), QString("=> 3 MP3s"));
        w.waitForWorker();
        QTableView* grid = w.form->resultGrid();
        grid->setFocus();
        grid->selectRow(1);
        QTest::keyClick(grid, '+');
        QCOMPARE(w.form->app().results().cell0(1), std::string("\xD7"
                                                               "2. Beatles - Two"));
        QTest::keyClick(grid, '+');
        QCOMPARE(w.form->app().results().cell0(1), std::string("  2. Beatles - Two"));
        QTest::keyClicks(grid, "q");
        QCOMPARE(input->text(), QString("*q"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QCOMPARE(input->text(), QString("*"));
    }

    void theWorkerFillsTheExtraInformationAndTotalsFollow() {
        Window w;
        QTest::keyClicks(w.form->searchInput(), "*");
        QTest::keyClick(w.form->searchInput(), Qt::Key_Return);
        w.waitForWorker();
        QCOMPARE(w.form->app().results().cell1(0), std::string(" (3:30, * * , _keine Gruppe_) "));
        QVERIFY(w.form->workerDot()->isHidden());
        w.form->contextMenuEntry(13);
        QCOMPARE(w.dialogs.texts("information"), std::vector<std::string>{playTimeText(375, 3)});
        w.form->sortieren(1);
        const ResultTable& rows = w.form->app().results();
        QCOMPARE(rows.cell0(1), std::string("  3. Abba - Three"));
        QCOMPARE(rows.cell1(1), std::string(" (??, unbew., _keine Gruppe_) ")); // moved along
        QCOMPARE(rows.cell0(2), std::string("  2. Beatles - Two"));
    }

    void theContextMenuListsItsEntriesInOrderAndChecksTheGrid() {
        Window w;
        QMenu* menu = w.form->buildContextMenu();
        QStringList texts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        QStringList expected;
        for (const char* e : kContextMenuEntries)
            expected << QString::fromStdString(cp1252ToUtf8(e));
        QCOMPARE(texts, expected);
        delete menu;
        w.dialogs.clear();
        w.form->contextMenuEntry(3); // empty grid
        QCOMPARE(w.dialogs.texts("information"), std::vector<std::string>{kSearchFirstText});
    }
};

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
