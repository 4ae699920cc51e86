#include "FormDriver.h"
#include "Notebook.h"
#include "TestNotebook.h"

#include <QtTest>

// The program as it starts, and the word list it shows, read a page at a time.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void theProgramRunsOnlyOnANotebookItCanOpen_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << false;
        QTest::newRow("present") << true;
    }

    // The real program, whose messages and window the preloaded startup_hook answers and closes.
    void theProgramRunsOnlyOnANotebookItCanOpen()
    {
        QFETCH(bool, present);
        QTemporaryDir data;
        const QString path = data.filePath("tessimor/word.mdb");
        if (present)
            Notebook::create(path);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data.path());
        env.insert("LD_PRELOAD", HOOK);
        env.insert("ASAN_OPTIONS", "verify_asan_link_order=0");
        program.setProcessEnvironment(env);
        program.start(TESSIMOR);
        QVERIFY(program.waitForFinished(60000));
        const QString shown = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(program.exitCode() == (present ? 0 : 1), qPrintable(shown));
        QCOMPARE(shown.contains("shown: Form1"), present);
        QCOMPARE(shown.contains("shown: QMessageBox データベースが見つかりません"), !present);
        QCOMPARE(QFile::exists(path), present);
    }

    // The list on screen holds no lock (the test's connection waits for none), and Normal shows the file as
    // another program left it.
    void theListHoldsNoLockAndNormalShowsTheFileAsItIs()
    {
        TestNotebook notebook;
        notebook.fill(300);
        FormDriver ui(notebook.path());
        notebook.execute("delete from wordDB where rowid <= 10");
        notebook.insert("2019/12/31 23:59:59", "older", "古い");
        ui.click("Command3");
        QCOMPARE(ui.list().mid(0, 1) + ui.list().mid(290), (QStringList{"word299|語299", "older|古い"}));
        QCOMPARE(ui.count(), QStringLiteral("291件"));
        ui.expectQuiet();
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
