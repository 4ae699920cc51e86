#include "AboutFakes.h"
#include "GetKeyValue.h"
#include "HostRegistry.h"
#include "ScriptedMessageBox.h"
#include "frmAbout.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const std::string kFirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kSecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kUnavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
constexpr Registry::Key HKLM = Registry::kLocalMachine;

std::vector<unsigned char> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The about dialog on a hive, files and launcher of the test's own.
struct Launch {
    void press() { dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click(); }

    RecordingRegistry registry;
    FakeFiles files;
    RecordingLauncher launcher{files};
    ScriptedMessageBox messages;
    frmAbout dialog{{registry, launcher, files, messages}};
};

void writeProgram(const QString& path, const QByteArray& script, bool executable = true) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}
} // namespace

class SysInfoTest : public QObject {
    Q_OBJECT
private slots:
    void firstValueStartsItsProgramWithoutOpeningTheSecondKey();
    void firstValueNamingAMissingFileDoesNotFallBack();
    void secondValueStartsTheProgramInItsFolder();
    void secondValueFolderWithoutTheProgramIsUnavailable();
    void neitherValueIsUnavailable_data();
    void neitherValueIsUnavailable();
    void valueOfAnotherTypeStartsNothing_data();
    void valueOfAnotherTypeStartsNothing();
    void emptyValueIsTrappedAndItsKeyClosed();
    void valueLargerThanTheBufferIsNotRead_data();
    void valueLargerThanTheBufferIsNotRead();

    void stringLosesOneTerminatingZeroOnly_data();
    void stringLosesOneTerminatingZeroOnly();
    void dwordComesBackAsTheStoredNumber_data();
    void dwordComesBackAsTheStoredNumber();
    void otherTypeLeavesTheTextAsItWas();
    void failedReadEmptiesTheText();
    void hiveRefusesWriteAccess();

    void hostHiveNamesTheFirstProgramFound();
    void hostHiveStartsTheProgramFoundOnTheSearchPath();
    void fileSearchFindsOrdinaryFilesOnly();
    void launcherReportsWhatCannotStart();

private:
    void verifyUnavailable(Launch& launch);
    void verifyKeysClosedAndReadOnly(const Launch& launch);
};

void SysInfoTest::verifyUnavailable(Launch& launch) {
    const QList<MessageBox::Request> shown = launch.messages.takeRequests();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, kUnavailable);
    QCOMPARE(shown[0].caption, QStringLiteral("Tessimor"));
    QCOMPARE(shown[0].buttons, MessageBox::Buttons::Ok);
    QCOMPARE(shown[0].icon, MessageBox::Icon::None);
    QVERIFY(launch.launcher.started.isEmpty());
}

void SysInfoTest::verifyKeysClosedAndReadOnly(const Launch& launch) {
    QCOMPARE(launch.registry.openHandles, 0);
    for (std::uint32_t access : launch.registry.accesses)
        QCOMPARE(access, Registry::kKeyRead);
}

void SysInfoTest::firstValueStartsItsProgramWithoutOpeningTheSecondKey() {
    Launch launch;
    launch.registry.hive.setString(HKLM, kFirstKey, "PATH", "C:\\Program Files\\Tools\\sysinfo.exe");
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:\\Shared");
    launch.files.files = {QStringLiteral("C:\\Program Files\\Tools\\sysinfo.exe"),
                          QStringLiteral("C:\\Shared\\MSINFO32.EXE")};
    launch.press();
    QCOMPARE(launch.launcher.started, QStringList{QStringLiteral("C:\\Program Files\\Tools\\sysinfo.exe")});
    QCOMPARE(launch.registry.attempts, std::vector<std::string>{kFirstKey});
    QVERIFY(launch.messages.takeTexts().isEmpty());
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::firstValueNamingAMissingFileDoesNotFallBack() {
    Launch launch;
    launch.registry.hive.setString(HKLM, kFirstKey, "PATH", "C:\\Gone\\sysinfo.exe");
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:\\Shared");
    launch.files.files = {QStringLiteral("C:\\Shared\\MSINFO32.EXE")};
    launch.press();
    QCOMPARE(launch.launcher.attempts, QStringList{QStringLiteral("C:\\Gone\\sysinfo.exe")});
    QCOMPARE(launch.registry.attempts, std::vector<std::string>{kFirstKey});
    verifyUnavailable(launch);
    QVERIFY(launch.dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isEnabled());
    QVERIFY(!launch.dialog.isUnloaded());
}

void SysInfoTest::secondValueStartsTheProgramInItsFolder() {
    Launch launch;
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:\\Common Files\\MSInfo");
    launch.files.files = {QStringLiteral("C:\\Common Files\\MSInfo\\MSINFO32.EXE")};
    launch.press();
    QCOMPARE(launch.launcher.started, QStringList{QStringLiteral("C:\\Common Files\\MSInfo\\MSINFO32.EXE")});
    QCOMPARE(launch.registry.attempts, (std::vector<std::string>{kFirstKey, kSecondKey}));
    QVERIFY(launch.messages.takeTexts().isEmpty());
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::secondValueFolderWithoutTheProgramIsUnavailable() {
    Launch launch;
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:\\Common Files\\MSInfo");
    launch.files.files = {QStringLiteral("C:\\Common Files\\MSInfo\\msinfo.dll")};
    launch.press();
    QVERIFY(launch.launcher.attempts.isEmpty());
    verifyUnavailable(launch);
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::neitherValueIsUnavailable_data() {
    QTest::addColumn<bool>("keysExist");
    QTest::newRow("no keys") << false;
    QTest::newRow("keys without the values") << true;
}

void SysInfoTest::neitherValueIsUnavailable() {
    QFETCH(bool, keysExist);
    Launch launch;
    if (keysExist) {
        launch.registry.hive.setString(HKLM, kFirstKey, "Path2", "C:\\sysinfo.exe");
        launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO2", "C:\\Shared");
    }
    launch.files.files = {QStringLiteral("C:\\sysinfo.exe"), QStringLiteral("C:\\Shared\\MSINFO32.EXE")};
    launch.press();
    QCOMPARE(launch.registry.attempts, (std::vector<std::string>{kFirstKey, kSecondKey}));
    QVERIFY(launch.launcher.attempts.isEmpty());
    verifyUnavailable(launch);
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::valueOfAnotherTypeStartsNothing_data() {
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("tried");
    QTest::newRow("expandable string")
        << uint(Registry::kExpandString) << QByteArray("C:\\sysinfo.exe", 15) << QString();
    QTest::newRow("binary") << 3u << QByteArray("C:\\sysinfo.exe") << QString();
    QTest::newRow("number") << uint(Registry::kDword) << QByteArray("\x07\0\0\0", 4) << QStringLiteral("7");
}

void SysInfoTest::valueOfAnotherTypeStartsNothing() {
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, tried);
    Launch launch;
    launch.registry.hive.setValue(HKLM, kFirstKey, "PATH", type, bytes(data.toStdString()));
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:");
    launch.files.files = {QStringLiteral("C:\\sysinfo.exe"), QStringLiteral("C:\\MSINFO32.EXE")};
    launch.press();
    // The value counts as read, so the second key is not consulted and the start of its text fails.
    QCOMPARE(launch.registry.attempts, std::vector<std::string>{kFirstKey});
    QCOMPARE(launch.launcher.attempts, QStringList{tried});
    verifyUnavailable(launch);
}

void SysInfoTest::emptyValueIsTrappedAndItsKeyClosed() {
    Launch launch;
    launch.registry.hive.setValue(HKLM, kFirstKey, "PATH", Registry::kString, {});
    launch.registry.hive.setString(HKLM, kSecondKey, "MSINFO", "C:");
    launch.files.files = {QStringLiteral("C:\\MSINFO32.EXE")};
    launch.press();
    QCOMPARE(launch.registry.attempts, std::vector<std::string>{kFirstKey});
    QVERIFY(launch.launcher.attempts.isEmpty());
    verifyUnavailable(launch);
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::valueLargerThanTheBufferIsNotRead_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("starts");
    QTest::newRow("1024 bytes with the zero") << 1023 << true;
    QTest::newRow("1025 bytes with the zero") << 1024 << false;
}

void SysInfoTest::valueLargerThanTheBufferIsNotRead() {
    QFETCH(int, length);
    QFETCH(bool, starts);
    const std::string path = "C:\\" + std::string(std::size_t(length) - 7, 'x') + ".exe";
    Launch launch;
    launch.registry.hive.setString(HKLM, kFirstKey, "PATH", path);
    launch.files.files = {QString::fromStdString(path)};
    launch.press();
    if (starts) {
        QCOMPARE(launch.launcher.started, QStringList{QString::fromStdString(path)});
        QVERIFY(launch.messages.takeTexts().isEmpty());
    } else {
        QCOMPARE(launch.registry.attempts, (std::vector<std::string>{kFirstKey, kSecondKey}));
        verifyUnavailable(launch);
    }
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::stringLosesOneTerminatingZeroOnly_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("with its zero") << QByteArray("ABC\0", 4) << QByteArray("ABC");
    QTest::newRow("without a zero") << QByteArray("ABC") << QByteArray("ABC");
    QTest::newRow("two zeros") << QByteArray("AB\0\0", 4) << QByteArray("AB\0", 3);
    QTest::newRow("only a zero") << QByteArray("\0", 1) << QByteArray();
}

void SysInfoTest::stringLosesOneTerminatingZeroOnly() {
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, read);
    MemoryRegistry hive;
    hive.setValue(HKLM, "Software\\Test", "Text", Registry::kString, bytes(stored.toStdString()));
    std::string KeyVal = "before";
    QVERIFY(GetKeyValue(hive, HKLM, "SOFTWARE\\TEST", "text", KeyVal));
    QCOMPARE(QByteArray::fromStdString(KeyVal), read);
}

void SysInfoTest::dwordComesBackAsTheStoredNumber_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("read");
    QTest::newRow("small") << QByteArray("\x05\0\0\0", 4) << QStringLiteral("5");
    QTest::newRow("every byte used") << QByteArray("\x78\x56\x34\x12", 4) << QStringLiteral("305419896");
    QTest::newRow("largest") << QByteArray("\xff\xff\xff\xff", 4) << QStringLiteral("4294967295");
}

void SysInfoTest::dwordComesBackAsTheStoredNumber() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, read);
    MemoryRegistry hive;
    hive.setValue(HKLM, "Software\\Test", "Number", Registry::kDword, bytes(stored.toStdString()));
    std::string KeyVal;
    QVERIFY(GetKeyValue(hive, HKLM, "Software\\Test", "Number", KeyVal));
    QCOMPARE(QString::fromStdString(KeyVal), read);
}

void SysInfoTest::otherTypeLeavesTheTextAsItWas() {
    Launch launch;
    launch.registry.hive.setValue(HKLM, "Software\\Test", "Folder", Registry::kExpandString,
                                  bytes(std::string("%SystemRoot%\0", 13)));
    QString KeyVal = QStringLiteral("前の値");
    QVERIFY(
        launch.dialog.GetKeyValue(HKLM, QStringLiteral("Software\\Test"), QStringLiteral("Folder"), KeyVal));
    QCOMPARE(KeyVal, QStringLiteral("前の値"));
    // Text in the code page (UTF-8 here) comes back as the characters it encodes.
    launch.registry.hive.setString(HKLM, "Software\\Test", "Folder", u8"C:\\ツール\\情報.exe");
    QVERIFY(
        launch.dialog.GetKeyValue(HKLM, QStringLiteral("Software\\Test"), QStringLiteral("Folder"), KeyVal));
    QCOMPARE(KeyVal, QStringLiteral("C:\\ツール\\情報.exe"));
    verifyKeysClosedAndReadOnly(launch);
}

void SysInfoTest::failedReadEmptiesTheText() {
    RecordingRegistry registry;
    registry.hive.setString(HKLM, "Software\\Test", "Text", "value");
    registry.hive.setString(HKLM, "Software\\Test", "Long", std::string(1024, 'x'));
    const std::pair<std::string, std::string> failing[] = {
        {"Software\\Missing", "Text"}, {"Software\\Test", "Missing"}, {"Software\\Test", "Long"}};
    for (const auto& [key, value] : failing) {
        std::string KeyVal = "before";
        QVERIFY(!GetKeyValue(registry, HKLM, key, value, KeyVal));
        QCOMPARE(KeyVal, std::string());
    }
    QCOMPARE(registry.openHandles, 0);
}

void SysInfoTest::hiveRefusesWriteAccess() {
    MemoryRegistry hive;
    hive.setString(HKLM, kFirstKey, "PATH", "C:\\sysinfo.exe");
    Registry::Key key = 0;
    QCOMPARE(hive.openKey(HKLM, kFirstKey, 0, 0x2003F, key), Registry::kAccessDenied);
    QCOMPARE(key, Registry::Key(0));
    QCOMPARE(hive.openKey(HKLM, kFirstKey, 0, Registry::kKeyRead, key), Registry::kSuccess);
    QCOMPARE(hive.closeKey(key), Registry::kSuccess);
    QCOMPARE(hive.closeKey(key), Registry::kInvalidHandle);
}

void SysInfoTest::hostHiveNamesTheFirstProgramFound() {
    QTemporaryDir first;
    QTemporaryDir second;
    writeProgram(first.filePath(QStringLiteral("kinfocenter")), "#!/bin/sh\n");
    writeProgram(first.filePath(QStringLiteral("hardinfo")), "not a program", false);
    writeProgram(second.filePath(QStringLiteral("hardinfo")), "#!/bin/sh\n");
    std::unique_ptr<MemoryRegistry> hive = HostRegistry::fromFolders({first.path(), second.path()});
    std::string KeyVal;
    QVERIFY(GetKeyValue(*hive, HKLM, kFirstKey, "PATH", KeyVal));
    QCOMPARE(QString::fromStdString(KeyVal), second.filePath(QStringLiteral("hardinfo")));

    QTemporaryDir none;
    writeProgram(none.filePath(QStringLiteral("gnome-system-monitor")), "not a program", false);
    hive = HostRegistry::fromFolders({none.path()});
    QVERIFY(!GetKeyValue(*hive, HKLM, kFirstKey, "PATH", KeyVal));
}

void SysInfoTest::hostHiveStartsTheProgramFoundOnTheSearchPath() {
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("gnome-system-monitor"));
    const QString marker = folder.filePath(QStringLiteral("started"));
    writeProgram(program, "#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\n");
    std::unique_ptr<MemoryRegistry> hive = HostRegistry::fromFolders({folder.path()});
    QtProgramLauncher launcher;
    QtFileSearch files;
    ScriptedMessageBox messages;
    frmAbout dialog({*hive, launcher, files, messages});
    dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
    QVERIFY(messages.takeTexts().isEmpty());
    QTRY_VERIFY(QFile::exists(marker));

    std::unique_ptr<MemoryRegistry> empty = HostRegistry::fromFolders({});
    frmAbout without({*empty, launcher, files, messages});
    without.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
    QCOMPARE(messages.takeTexts(), QStringList{kUnavailable});
}

void SysInfoTest::fileSearchFindsOrdinaryFilesOnly() {
    QTemporaryDir folder;
    writeProgram(folder.filePath(QStringLiteral("MSINFO32.EXE")), "program");
    writeProgram(folder.filePath(QStringLiteral(".hidden")), "program");
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    const QtFileSearch files;
    QVERIFY(files.exists(folder.filePath(QStringLiteral("MSINFO32.EXE"))));
    QVERIFY(!files.exists(folder.filePath(QStringLiteral(".hidden"))));
    QVERIFY(!files.exists(folder.filePath(QStringLiteral("folder"))));
    QVERIFY(!files.exists(folder.filePath(QStringLiteral("missing.exe"))));
}

void SysInfoTest::launcherReportsWhatCannotStart() {
    QTemporaryDir folder;
    QtProgramLauncher launcher;
    QVERIFY(!launcher.start(QString()));
    QVERIFY(!launcher.start(folder.filePath(QStringLiteral("missing"))));
}

QTEST_MAIN(SysInfoTest)
#include "sysinfo_test.moc"
