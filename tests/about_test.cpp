#include "FileSearch.h"
#include "FormDriver.h"
#include "GetKeyValue.h"
#include "HostRegistry.h"
#include "MemoryRegistry.h"
#include "ProgramLauncher.h"
#include "SharedAbout.h"
#include "TestNotebook.h"

#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

struct FakeHost : MemoryRegistry, FileSearch, ProgramLauncher, ScriptedMessageBox {
    std::int32_t openKey(Key root, const std::string& path, std::uint32_t options, std::uint32_t access,
                         Key& opened) override
    {
        ++openKeys;
        return MemoryRegistry::openKey(root, path, options, access, opened);
    }
    std::int32_t closeKey(Key key) override
    {
        --openKeys;
        return MemoryRegistry::closeKey(key);
    }
    bool exists(const QString& path) const override { return files.contains(path); }
    bool start(const QString& path) override
    {
        tried << path;
        return exists(path);
    }
    QStringList files, tried;
    int openKeys = 0; // opened and not closed again
};

// The one about dialog the menu brings up, and its button that starts the system-information program.
class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void oneDialogAtATimeAndTheProgramEndsWithTheLastWindow_data()
    {
        QTest::addColumn<bool>("mainFirst"); // the main window closed while the dialog is up
        QTest::addColumn<int>("key");        // how the dialog goes: 0 a click on OK, -1 its title bar's close
        QTest::newRow("dialog by OK") << false << 0;
        QTest::newRow("dialog by Enter") << false << int(Qt::Key_Return);
        QTest::newRow("dialog by Esc") << false << int(Qt::Key_Escape);
        QTest::newRow("dialog by title bar") << false << -1;
        QTest::newRow("main window, then dialog") << true << 0;
    }

    void oneDialogAtATimeAndTheProgramEndsWithTheLastWindow()
    {
        QFETCH(bool, mainFirst);
        QFETCH(int, key);
        TestNotebook notebook;
        FormDriver ui(notebook.path());
        FakeHost host;
        SharedAbout about({host, host, host, ui.messages});
        connect(ui.form.get(), &Form1::aboutRequested, &about, &SharedAbout::show);
        ui.form->show();
        const auto open = [&] {
            ui.find<QAction>("mnuversion")->trigger();
            return about.dialog() && QTest::qWaitForWindowActive(about.dialog()) ? about.dialog() : nullptr;
        };
        QPointer<frmAbout> dialog = open();
        // Modeless: the main window stays usable, and the menu brings the same dialog back to the front.
        QVERIFY(dialog && !dialog->isModal());
        ui.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui.form.get()));
        QCOMPARE(open(), dialog.data());
        // Tab goes round the buttons alone: the texts never take the focus.
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            QVERIFY(qobject_cast<QPushButton*>(dialog->focusWidget()));
        }
        const auto closeDialog = [&] {
            key > 0   ? QTest::keyClick(dialog->focusWidget(), Qt::Key(key))
            : key < 0 ? void(dialog->close())
                      : dialog->findChild<QPushButton*>("cmdOK")->click();
        };
        if (!mainFirst) {
            // Asked for again at once, while the old one still waits for its deletion: a new one comes up.
            closeDialog();
            const QPointer<frmAbout> again = open();
            QTRY_VERIFY(again && !dialog);
            dialog = again;
        }
        // The program ends with the second window to go, not the first: in the loop the program runs.
        bool lastClosed = false;
        QTimer::singleShot(0, this, [&] { mainFirst ? void(ui.form->close()) : closeDialog(); });
        QTimer::singleShot(200, this, [&] {
            lastClosed = true;
            mainFirst ? closeDialog() : void(ui.form->close());
        });
        QTimer::singleShot(5000, qApp, [] { qApp->exit(1); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(lastClosed);
    }

    void sysInfoStartsWhatTheRegistryNames_data()
    {
        QTest::addColumn<QString>("path"); // the first key's value; null: none. The second's names C:\Shared
        QTest::addColumn<QStringList>("files"); // those that exist: only they start
        QTest::addColumn<QString>("tried");     // the start tried, if any
        const QString tool = "C:\\info.exe", shared = "C:\\Shared\\MSINFO32.EXE", japanese = "C:\\情報.exe";
        QTest::newRow("first names a missing file") << tool << QStringList{shared} << tool;
        QTest::newRow("second's folder holds it") << QString() << QStringList{shared} << shared;
        QTest::newRow("second's folder lacks it") << QString() << QStringList{tool} << QString();
        QTest::newRow("first of size 0") << QString("") << QStringList{shared} << QString();
        QTest::newRow("Japanese path") << japanese << QStringList{japanese} << japanese;
    }

    void sysInfoStartsWhatTheRegistryNames()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, files);
        QFETCH(QString, tried);
        if (QString::fromLocal8Bit(path.toLocal8Bit()) != path)
            QSKIP("the registry gives text in the system's code page, which cannot hold this path");
        FakeHost host;
        const QByteArray value = path.toLocal8Bit(); // no terminating zero
        host.setValue(Registry::kLocalMachine, path.isNull() ? "elsewhere" : SysInfoKeys::kPath,
                      SysInfoKeys::kPathValue, Registry::kString, {value.begin(), value.end()});
        host.setString(Registry::kLocalMachine, SysInfoKeys::kLocation, SysInfoKeys::kLocationValue,
                       "C:\\Shared");
        host.files = files;
        frmAbout dialog({host, host, host, host});
        dialog.findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(host.tried, tried.isNull() ? QStringList() : QStringList{tried});
        QCOMPARE(host.openKeys, 0); // the error of size 0 included
        QCOMPARE(host.takeTexts(),
                 files.contains(tried) ? QStringList() : QStringList{"現時点ではｼｽﾃﾑ情報を使用できません"});
    }

#ifdef Q_OS_WIN
    // The real registry and launcher: the value names Wine's own msinfo32.exe, whose window really opens.
    void sysInfoStartsTheProgramTheSystemNames()
    {
        const std::wstring path = L"C:\\windows\\system32\\msinfo32.exe";
        QCOMPARE(RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH",
                                 REG_SZ, path.c_str(), DWORD((path.size() + 1) * sizeof(wchar_t))),
                 LONG(ERROR_SUCCESS));
        const auto window = [] { return FindWindowW(nullptr, L"About System Information"); };
        QVERIFY(!window());
        const std::unique_ptr<Registry> registry = HostRegistry::open();
        QtProgramLauncher launcher;
        FakeHost host; // its files and messages
        SharedAbout about({*registry, launcher, host, host});
        about.show();
        about.dialog()->findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(host.takeTexts(), QStringList());
        QTRY_VERIFY(window());
        PostMessageW(window(), WM_CLOSE, 0, 0);
    }
#endif

    void hostHiveNamesTheFirstCandidateOnThePath()
    {
#ifdef Q_OS_WIN
        QSKIP("the hive of programs on PATH is for systems without a registry");
#endif
        QTemporaryDir first, second;
        for (const QString& path : {first.filePath("kinfocenter"), second.filePath("hardinfo")})
            QVERIFY(QFile::copy("/bin/true", path)); // executable like its source
        std::string path;
        QVERIFY(GetKeyValue(*HostRegistry::fromFolders({first.path(), second.path()}),
                            Registry::kLocalMachine, SysInfoKeys::kPath, SysInfoKeys::kPathValue, path));
        QCOMPARE(QString::fromStdString(path), second.filePath("hardinfo"));
        // The real seams: only an ordinary, visible file is found, and only a program that exists starts.
        const QString hidden = first.filePath(".msinfo");
        QVERIFY(QFile::copy("/bin/true", hidden));
        QtFileSearch files;
        QVERIFY(files.exists(first.filePath("kinfocenter")) && !files.exists(hidden) &&
                !files.exists(first.path()));
        QtProgramLauncher launcher;
        QVERIFY(launcher.start(first.filePath("kinfocenter")) && !launcher.start(first.filePath("none")));
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
