#include "AboutFakes.h"
#include "GetKeyValue.h"
#include "HostRegistry.h"
#include "ScriptedMessageBox.h"
#include "TestNotebook.h"
#include "frmAbout.h"

#include <QPushButton>
#include <QtTest>

namespace {
const std::string kFirst = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kSecond = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kUnavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
constexpr Registry::Key HKLM = Registry::kLocalMachine;

struct Value {
    std::string key;
    std::string name;
    std::uint32_t type;
    std::string data;
};

// The first key's value of the given type.
Value path(std::uint32_t type, const std::string& data)
{
    return {kFirst, "PATH", type, data};
}

constexpr std::uint32_t kString = Registry::kString;
const std::string kLongest = "C:\\" + std::string(1016, 'x') + ".exe"; // 1024 bytes with its zero
const std::string kTooLong = "C:\\" + std::string(1017, 'x') + ".exe";
const QString kLongestPath = QString::fromStdString(kLongest);
const QString kTooLongPath = QString::fromStdString(kTooLong);
const QString kTool = QStringLiteral("C:\\Tools\\sysinfo.exe");
const QString kShared = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
const QString kJapanese = QStringLiteral("C:\\ツール\\情報.exe");
const Value kPath = path(kString, std::string("C:\\Tools\\sysinfo.exe\0", 21));
const Value kExpandable = path(Registry::kExpandString, "C:\\Tools\\sysinfo.exe");
const Value kTooLongValue = path(kString, kTooLong + '\0');
const Value kNumber = path(Registry::kDword, std::string("\x07\0\0\0", 4));
const Value kFolder{kSecond, "MSINFO", kString, std::string("C:\\Shared\0", 10)};
const std::vector<Value> kOtherNames = {{kFirst, "X", kString, "C:"}, {kSecond, "X", kString, "C:"}};

const struct LaunchCase {
    const char* name;
    std::vector<Value> values;
    QStringList files; // the files that exist
    std::size_t keysOpened;
    QStringList startsTried;
    bool starts;
} kLaunchCases[] = {
    {"first value names a program", {kPath, kFolder}, {kTool, kShared}, 1, {kTool}, true},
    {"first value names a missing file", {kPath, kFolder}, {kShared}, 1, {kTool}, false},
    {"second value's folder holds the program", {kFolder}, {kShared}, 2, {kShared}, true},
    {"second value's folder lacks the program", {kFolder}, {"C:\\Shared\\msinfo.dll"}, 2, {}, false},
    {"neither key", {}, {kTool, kShared}, 2, {}, false},
    {"keys without the values", kOtherNames, {kTool, kShared}, 2, {}, false},
    // A value of another type counts as read: the second key is not consulted, and the start fails.
    {"expandable string", {kExpandable, kFolder}, {kTool, kShared}, 1, {""}, false},
    {"number", {kNumber, kFolder}, {kShared}, 1, {"7"}, false},
    {"size 0", {path(kString, ""), kFolder}, {kShared}, 1, {}, false},
    {"1024 bytes", {path(kString, kLongest + '\0')}, {kLongestPath}, 1, {kLongestPath}, true},
    {"over 1024 bytes", {kTooLongValue, kFolder}, {kTooLongPath, kShared}, 2, {kShared}, true},
    // The code page is UTF-8 here.
    {"Japanese path", {path(kString, kJapanese.toStdString())}, {kJapanese}, 1, {kJapanese}, true},
};

// The values the launcher's table leaves out.
const struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::string data;
    std::string text;
} kReadCases[] = {
    {"string without a zero", kString, "ABC", "ABC"},
    {"string with two zeros", kString, std::string("AB\0\0", 4), std::string("AB\0", 3)},
    {"string of only a zero", kString, std::string(1, '\0'), ""},
    {"number using every byte", Registry::kDword, "\x78\x56\x34\x12", "305419896"},
};

void writeProgram(const QString& path, const QByteArray& content, bool executable)
{
    writeFile(path, content);
    if (executable)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
} // namespace

// The system-information launcher, on the registry layer's in-memory hive and on the host's programs.
class SysInfoTest : public QObject {
    Q_OBJECT
private slots:
    void launcherFindsTheProgramOrSaysItIsUnavailable_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kLaunchCases)); ++row)
            QTest::newRow(kLaunchCases[row].name) << row;
    }

    void launcherFindsTheProgramOrSaysItIsUnavailable()
    {
        QFETCH(int, row);
        const LaunchCase& test = kLaunchCases[row];
        RecordingRegistry registry;
        for (const Value& value : test.values)
            registry.hive.setValue(HKLM, value.key, value.name, value.type,
                                   {value.data.begin(), value.data.end()});
        FakeFiles files;
        files.files = QSet<QString>(test.files.begin(), test.files.end());
        RecordingLauncher launcher(files);
        ScriptedMessageBox messages;
        frmAbout dialog({registry, launcher, files, messages});

        dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();

        const std::vector<std::string> keys = {kFirst, kSecond};
        QCOMPARE(registry.attempts, std::vector<std::string>(keys.begin(), keys.begin() + test.keysOpened));
        QCOMPARE(launcher.attempts, test.startsTried);
        QCOMPARE(launcher.started, test.starts ? test.startsTried : QStringList());
        const QList<MessageBox::Request> shown = messages.takeRequests();
        QCOMPARE(shown.size(), test.starts ? 0 : 1);
        if (!test.starts) {
            QCOMPARE(shown[0].text, kUnavailable);
            QCOMPARE(shown[0].caption, QStringLiteral("Tessimor"));
            QCOMPARE(shown[0].buttons, MessageBox::Buttons::Ok);
            QCOMPARE(shown[0].icon, MessageBox::Icon::None);
            QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isEnabled());
            QVERIFY(!dialog.isUnloaded());
        }
        // Every key is asked for reading only and closed again, on the error of size 0 as well.
        QCOMPARE(registry.openHandles, 0);
        for (std::uint32_t access : registry.accesses)
            QCOMPARE(access, Registry::kKeyRead);
    }

    void readerTurnsValuesIntoText_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kReadCases)); ++row)
            QTest::newRow(kReadCases[row].name) << row;
    }

    void readerTurnsValuesIntoText()
    {
        QFETCH(int, row);
        const ReadCase& test = kReadCases[row];
        MemoryRegistry hive;
        hive.setValue(HKLM, "Software\\Test", "Value", test.type, {test.data.begin(), test.data.end()});
        std::string KeyVal = "before";
        QVERIFY(GetKeyValue(hive, HKLM, "Software\\Test", "Value", KeyVal));
        QCOMPARE(KeyVal, test.text);
    }

    void hostHiveStartsTheFirstProgramFoundOnTheSearchPath()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        // Candidates are tried in their own order, and only executables count.
        writeProgram(first.filePath("kinfocenter"), "#!/bin/sh\n", true);
        writeProgram(first.filePath("hardinfo"), "not a program", false);
        writeProgram(second.filePath("hardinfo"), "#!/bin/sh\ntouch \"$0.started\"\n", true);
        const std::unique_ptr<MemoryRegistry> hive = HostRegistry::fromFolders({first.path(), second.path()});
        QtProgramLauncher launcher;
        QtFileSearch files;
        ScriptedMessageBox messages;
        frmAbout dialog({*hive, launcher, files, messages});
        dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QVERIFY(messages.takeTexts().isEmpty());
        QTRY_VERIFY(QFile::exists(second.filePath("hardinfo.started")));
        QVERIFY(!QFile::exists(first.filePath("kinfocenter.started")));

        const std::unique_ptr<MemoryRegistry> none = HostRegistry::fromFolders({first.path() + "/missing"});
        frmAbout without({*none, launcher, files, messages});
        without.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(messages.takeTexts(), QStringList{kUnavailable});
        QVERIFY(!launcher.start(QString()));
    }

    void fileSearchFindsOrdinaryFilesOnly()
    {
        QTemporaryDir folder;
        writeProgram(folder.filePath("MSINFO32.EXE"), "program", true);
        writeProgram(folder.filePath(".hidden"), "program", true);
        QVERIFY(QDir(folder.path()).mkdir("folder"));
        const QtFileSearch files;
        QVERIFY(files.exists(folder.filePath("MSINFO32.EXE")));
        for (const char* name : {".hidden", "folder", "missing.exe"})
            QVERIFY2(!files.exists(folder.filePath(name)), name);
    }
};

QTEST_MAIN(SysInfoTest)
#include "sysinfo_test.moc"
