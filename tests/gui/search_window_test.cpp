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
        QVERIFY(waitFor([&] { return w.form->workerDot()->isHidden(); }));
        w.form->contextMenuEntry(13);
        QCOMPARE(w.dialogs.texts("information"), std::vector<std::string>{playTimeText(375, 3)});
        w.form->sortieren(1);
        const ResultTable& rows = w.form->app().results();
        QCOMPARE(rows.cell0(1), std::string("  3. Abba - Three"));
        QCOMPARE(rows.cell1(1), std::string(" (??, unbew., _keine Gruppe_) ")); // moved along
        QCOMPARE(rows.cell0(2), std::string("  2. Beatles - Two"));
    }

    void theWorkerFillsTenThousandRowsAndANewSearchRestartsIt() {
        Window w;
        // 10,000 entries whose album files hold only album names: the worker reads each file.
        std::string list = "#EXTM3U\r\n", album = "#EXTALB\r\n";
        for (int i = 0; i < 10000; ++i) {
            list += "#EXTINF:1,Title " + std::to_string(i) + "\r\n" + w.dir.path() + "/none/" +
                    std::to_string(i) + ".mp3\r\n";
            album += "Album\r\n";
        }
        std::string path = w.dir.write("Playlists/Big.M3U", list);
        w.dir.write("Playlists/Big.ALB", album);
        w.form->app().selector().items.push_back(path);
        w.form->refreshIndexControls();
        w.form->mp3indexwahl()->setCurrentIndex(
            w.form->mp3indexwahl()->findText(QString::fromStdString(path)));
        QLineEdit* input = w.form->searchInput();
        input->setText("*");
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(w.count(), QString("=> 10000 MP3s"));
        // A new search while the pass runs stops it and starts a fresh one over the new rows.
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Return);
        QVERIFY(waitFor([&] { return !w.form->app().worker()->running(); }, 60000));
        QTest::qWait(50);
        const ResultTable& rows = w.form->app().results();
        QCOMPARE(rows.size(), size_t(10000));
        for (size_t i = 0; i < rows.size(); i += 997)
            QVERIFY2(rows.cell1(i) == std::string(" (??, unbew., _keine Gruppe_) "),
                     rows.cell1(i).data());
        QCOMPARE(rows.cell1(9999), std::string(" (??, unbew., _keine Gruppe_) "));
        QVERIFY(waitFor([&] { return w.form->workerDot()->isHidden(); }));
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
