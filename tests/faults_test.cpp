#include "Connection.h"
#include "FormDriver.h"
#include "TestNotebook.h"

#include <QtTest>

#include <csignal>
#include <thread>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
// One way the notebook goes wrong. The lock is another program's: a connection of its own.
struct Fault {
    Fault(const QString& path, const QString& how)
        : path(path)
        , how(how)
        , lock(how == "locked" ? std::make_shared<Connection>(path) : nullptr)
    {
        const QByteArray bytes = readFile(path);
        // The page the Date list's index starts at: damaged, every read through the index fails.
        const int date = Connection(path)
                             .execute("select rootpage from sqlite_master where name = 'wordDB_ByDay'")
                             ->value(0)
                             .toInt();
#ifndef Q_OS_WIN
        const rlimit full{1024, RLIM_INFINITY};
        if (how == "disk full")
            setrlimit(RLIMIT_FSIZE, &full);
#endif
        if (how == "missing")
            QFile::remove(path);
        else if (how == "not a notebook")
            writeFile(path, QByteArray(bytes.size(), 'x'));
        else if (how == "damaged") // every page after the first, which holds the schema
            writeFile(path, bytes.left(4096) + QByteArray(bytes.size() - 4096, 'x'));
        else if (how == "date index damaged") // the Date list fails; the table is still counted
            writeFile(path, bytes.left(4096 * (date - 1)) + QByteArray(4096, 'x') + bytes.mid(4096 * date));
        else if (how == "read-only")
            QFile::setPermissions(path, QFile::ReadOwner);
        else if (lock)
            lock->execute("begin exclusive");
    }
    // Undoes the faults that can pass; the lock ends a moment later, while the next command waits for it.
    bool pass()
    {
#ifndef Q_OS_WIN
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &unlimited);
#endif
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        if (lock && !releaser.joinable())
            releaser = std::thread([lock = lock] {
                QThread::msleep(300);
                lock->execute("commit");
            });
        return how == "locked" || how == "read-only" || how == "disk full";
    }
    ~Fault()
    {
        pass();
        if (releaser.joinable())
            releaser.join();
    }
    QString path, how;
    std::shared_ptr<Connection> lock;
    std::thread releaser;
};
} // namespace

// Commands meeting a notebook missing, damaged, locked, read-only or on a full disk.
class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void aCommandMeetingAFaultSaysWhatAndGoesOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("headline");
        const QString all = "Command1 Command2 Command4 Command5 Command6", writes = "Command1 Command2";
        const QList<std::tuple<const char*, QString, const char*>> faults = {
            {"missing", "Command1", "データベースファイルを開けません。"},
            {"not a notebook", all, "データベースファイルが壊れています。"},
            {"damaged", writes + " Command6", "データベースファイルが壊れています。"},
            {"date index damaged", "Command6", "データベースファイルが壊れています。"},
            {"locked", all + " Command3", "データベースが他のプログラムに使用されています。"},
            {"read-only", writes, "データベースに書き込めません。"},
            {"disk full", writes, "データベースの読み書き中にエラーが発生しました。"}};
        for (const auto& [how, buttons, headline] : faults)
            for (const QString& button : buttons.split(' '))
                QTest::addRow("%s, %s", how, qPrintable(button))
                    << how << button << QString::fromUtf8(headline);
    }

    void aCommandMeetingAFaultSaysWhatAndGoesOn()
    {
        QFETCH(QString, how);
        QFETCH(QString, button);
        QFETCH(QString, headline);
        TestNotebook notebook;
        notebook.execute("with recursive i(n) as (select 0 union all select n + 1 from i where n < 299) "
                         "insert into wordDB select printf('2020/01/01 %02d:%02d:00', n / 60, n % 60), "
                         "'word' || n, '語' || n from i");
        FormDriver ui(notebook.path());
        const QStringList rows = notebook.rows();
        QCOMPARE(ui.list().size(), 300); // past the first page, as long as the table counted
        ui.type("cherry", "さくらんぼ");
        ui.search("word1");
        const QStringList found = ui.list();
        const QString counted = ui.count();
        {
            Fault fault(notebook.path(), how);
            if (how == "missing" && QFileInfo::exists(notebook.path()))
                QSKIP("Windows deletes no file held open");
            if (how == "read-only" && QFile(notebook.path()).open(QIODevice::ReadWrite))
                QSKIP("a read-only file can be written here (Wine run as root)");
#ifdef Q_OS_WIN
            if (how == "disk full")
                QSKIP("Windows has no file-size limit (setrlimit) to fill the disk with");
#endif
            const QByteArray bytes = readFile(notebook.path());
            const QDateTime start = QDateTime::currentDateTime();
            if (button == "Command2") {
                ui.selectRows({0});
                ui.messages.answerNext(MessageBox::Answer::Yes);
            }
            ui.click(qPrintable(button));
            const QStringList shown = ui.messages.takeTexts();
            // A lock is waited on for a moment, not for ever.
            QVERIFY(start.msecsTo(QDateTime::currentDateTime()) < 5000);
            // Delete asks first; the queued Yes left unasked fails expectQuiet.
            QCOMPARE(shown.size(), button == "Command2" ? 2 : 1);
            QVERIFY2(shown.last().startsWith(headline), qPrintable(shown.last()));
            QCOMPARE(readFile(notebook.path()), bytes);
            QCOMPARE(ui.list(), found);
            QCOMPARE(ui.count(), counted);
            ui.expectQuiet();
            if (!fault.pass())
                return;
            ui.click("Command1");
            QCOMPARE(ui.messages.takeTexts(), QStringList{"登録しました"});
        }
        QCOMPARE(notebook.rows().mid(0, 300), rows);
    }
};

int main(int argc, char* argv[])
{
#ifndef Q_OS_WIN
    // Root ignores permissions: the read-only notebook needs an ordinary user (nobody).
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return 1;
    // Past the file-size limit a write fails (EFBIG) instead of the process being killed.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    FaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "faults_test.moc"
