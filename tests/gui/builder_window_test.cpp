// The builder windows offscreen: options and defaults, reading a folder through the directory
// selection, building, the web settings' checks, cancelling the walk and the automatic update.
#include "app/harlune_app.h"
#include "app/status_model.h"
#include "gui/Tmp3indexerstellen.h"
#include "gui/Tsubdirectory.h"
#include "gui/Tverzeichniswahl.h"
#include "gui/Twebconfig.h"
#include "gui/gui_support.h"
#include "platform/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using namespace harlune;
using namespace harlune::test;

namespace {
// 1,128 bytes with an ID3v1 tag (title "T", artist "A").
std::string smallMp3() {
    std::string tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag[3] = 'T';
    tag[33] = 'A';
    return std::string("\xFF\xFB\x90\x44", 4) + std::string(996, '\x55') + tag;
}

struct Setup {
    TempDir dir;
    ScriptedDialogs dialogs;
    SystemClock clock;
    StatusModel status{clock};
    std::unique_ptr<HarluneApp> app;
    std::unique_ptr<Tmp3indexerstellen> window;
    Setup() {
        makeQuietProgramFolder(dir);
        app = std::make_unique<HarluneApp>(dir.path(), dialogs, clock);
        app->create();
        window = std::make_unique<Tmp3indexerstellen>(*app, status);
    }
};
} // namespace

class BuilderWindowTest : public QObject {
    Q_OBJECT
private slots:
    void optionsAndDefaults() {
        Setup s;
        s.window->anzeigen(false);
        Tmp3indexerstellen& w = *s.window;
        QCOMPARE(w.windowTitle(), QString("Generiere eines MP3-Index (MP3 CD oder Festplatte)"));
        QCOMPARE(w.indexname->text(), QString("CD01"));
        QVERIFY(!w.use_datei_check->isChecked());
        QVERIFY(w.use_id3_check->isChecked());
        QVERIFY(w.alles_eintragen->isChecked());
        QVERIFY(w.Norm_mp3index->isChecked());
        QVERIFY(!w.web_mp3index->isChecked());
        QCOMPARE(w.count->text(), QString("=> 0 Datei(n) / 0 Verz. "));
        QCOMPARE(w.use_id3_check->text(), QString::fromUtf8("ID3v1/ID3v2 verwenden wenn möglich"));
        QVERIFY(w.verzeichniswahl().mitunterverz->isChecked());
        QCOMPARE(w.verzeichniswahl().mitunterverz->text(), QString("Lese auch Unterverzeichnisse"));
        QCOMPARE(w.verzeichniswahl().windowTitle(),
                 QString::fromUtf8("Bitte Verzeichniss auswählen"));

        // Switching the extra information off explains the consequence.
        w.alles_eintragen->click();
        QCOMPARE(s.dialogs.texts("information").size(), size_t(1));
        w.alles_eintragen->click();
        QCOMPARE(s.dialogs.texts("information").size(), size_t(1));
        w.hide();
    }

    void readFolderAndBuild() {
        Setup s;
        s.dir.write("Musik/a.mp3", smallMp3());
        s.dir.write("Musik/Sub/b.mp3", smallMp3());
        s.window->anzeigen(false);
        Tverzeichniswahl& v = s.window->verzeichniswahl();
        v.setCurrentDirectory(s.dir.file("Musik"));
        QCOMPARE(v.files->count(), 1);
        v.okClick();
        QCOMPARE(s.window->count->text(), QString("=> 2 Datei(n) / 2 Verz."));
        QCOMPARE(v.chosen(), std::vector<std::string>{"!" + s.dir.file("Musik")});
        QVERIFY(!s.window->subdirectory().isVisible());

        QSignalSpy built(s.window.get(), &Tmp3indexerstellen::indexBuilt);
        s.window->indexname->setText("Neu");
        s.window->erstellen->click();
        QCOMPARE(built.count(), 1);
        const std::string list = s.dir.file("Playlists/Neu.M3U");
        QVERIFY(fileExists(list));
        QCOMPARE(s.app->selector().text, list);
        QVERIFY(!s.window->isVisible());
        QCOMPARE(s.dialogs.texts("information").back(),
                 std::string("MP3 Liste wurde erstellt!\n\r\n\rVerwendete ID3v1Tags/Dateinamen: "
                             "2\n\rVerwendete ID3v2Tags: 0"));
    }

    void webSettingsCheckBeforeClosing() {
        Setup s;
        Twebconfig& web = s.window->webconfig();
        QVERIFY(web.konfigverwenden->isChecked());
        web.webroot->setText("  ");
        web.okClick();
        QCOMPARE(s.dialogs.texts("warning"),
                 std::vector<std::string>{"Es muss ein Root-Laufwerk f\xFCr den Webserver "
                                          "angegeben werden!"});
        web.webroot->setText("/srv/www");
        web.internetadresse->setText("http://host/mp3");
        web.inmp3indexspeichern->setChecked(true);
        web.username->setText("anna");
        web.okClick();
        QCOMPARE(s.window->builder().web.webroot, std::string("/srv/www"));
        QVERIFY(s.window->builder().web.credentials == WebCredentials::inmp3indexspeichern);
        QCOMPARE(s.window->builder().web.username, std::string("anna"));
    }

    void cancelEndsTheWalk() {
        Tsubdirectory window;
        window.show();
        QVERIFY(window.pos(1, 1, false, "/x/"));
        QCOMPARE(window.currentDirectory(), QString("/x/"));
        window.cancelButton()->click();
        QVERIFY(!window.pos(2, 2, false, "/y/"));
        window.closeframe();
        QVERIFY(!window.isVisible());
    }

    void automaticUpdateRebuildsAutoload() {
        Setup s;
        s.dir.write("Neu/a.mp3", smallMp3());
        Config& c = s.app->config();
        c.autoaktualisierung_aktiv = true;
        c.autoaktualisierung_verzeichnis = s.dir.file("Neu");
        c.autoaktualisierung_anz = 0;
        s.dialogs.addAnswer("yes");
        int starts = 0;
        QCOMPARE(s.window->autoaktualisierung([] {}, [&] { ++starts; }),
                 AutoUpdateOutcome::Rebuilt);
        QVERIFY(fileExists(s.dir.file("Playlists/Autoload.M3U")));
        QCOMPARE(starts, 1);
        QCOMPARE(iniValue(TempDir::read(s.dir.file("Harlune.INI")), "autoaktualisierung_anz"),
                 std::string("2"));
        s.window->hide();
    }
};

QTEST_MAIN(BuilderWindowTest)
#include "builder_window_test.moc"
