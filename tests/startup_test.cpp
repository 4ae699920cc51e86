#include "Notebook.h"

#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // The real program, whose message and window the preloaded startup_hook answers and closes. With a
    // notebook it runs (access_test starts it so); without one it says so, makes none, and ends with 1.
    void theProgramEndsWithoutANotebook()
    {
        QTemporaryDir data;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(Notebook::kDataFolderVariable, data.path());
        env.insert("LD_PRELOAD", HOOK);
        env.insert("ASAN_OPTIONS", "verify_asan_link_order=0");
        program.setProcessEnvironment(env);
        program.start(TESSIMOR);
        QVERIFY(program.waitForFinished(60000));
        const QString shown = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(program.exitCode() == 1, qPrintable(shown));
        QVERIFY(shown.contains("shown: QMessageBox データベースが見つかりません"));
        QVERIFY(!shown.contains("shown: Form1"));
        QVERIFY(!QFileInfo::exists(Notebook::pathIn(data.path())));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
