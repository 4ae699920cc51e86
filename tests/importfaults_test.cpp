#include "Connection.h"
#include "TestNotebook.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString integrity(const QString& path)
{
    Connection cn(path);
    auto check = cn.execute("pragma integrity_check", {});
    return check->next() ? check->value(0).toString() : QString();
}
} // namespace

// An import that the disk or a kill interrupts: all of it or none of it, never a damaged notebook.
class ImportFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aFullDiskLeavesTheNotebookAsItWas();
    void aKilledImportIsAllOrNothing();

private:
    void startImport(QProcess& process, const std::function<void()>& inChild = {});
    std::unique_ptr<TestNotebook> m_notebook;
    QString m_words;
};

void ImportFaultsTest::init()
{
    m_notebook = std::make_unique<TestNotebook>();
    m_notebook->insert("2024/01/01 00:00:00", "apple", "りんご");
    m_words = m_notebook->folder() + "/words.tsv";
    QFile file(m_words);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("English\tJapanese\n");
    for (int i = 0; i < 100000; ++i)
        file.write(QStringLiteral("word%1\t単語%1\n").arg(i).toUtf8());
}

void ImportFaultsTest::startImport(QProcess& process, const std::function<void()>& inChild)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", m_notebook->folder() + "/data");
    QDir().mkpath(m_notebook->folder() + "/data/tessimor");
    QFile::remove(m_notebook->folder() + "/data/tessimor/word.mdb");
    QVERIFY(QFile::link(m_notebook->path(), m_notebook->folder() + "/data/tessimor/word.mdb"));
    process.setProcessEnvironment(env);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(TESSIMOR_DB, {"import", m_words});
    QVERIFY(process.waitForStarted());
}

void ImportFaultsTest::aFullDiskLeavesTheNotebookAsItWas()
{
    const QByteArray before = contents(m_notebook->path());
    QProcess import;
    startImport(import, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 256 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    QVERIFY(import.waitForFinished(60000));
    QCOMPARE(import.exitCode(), 1);
    const QString error = QString::fromUtf8(import.readAllStandardError());
    QVERIFY2(!error.isEmpty(), "no message");
    // The next opening rolls back what the failed import left; then the file is as it was.
    QCOMPARE(integrity(m_notebook->path()), QStringLiteral("ok"));
    QCOMPARE(contents(m_notebook->path()), before);
    QCOMPARE(m_notebook->count(), 1);
}

void ImportFaultsTest::aKilledImportIsAllOrNothing()
{
    for (int delayMs : {50, 300, 800}) {
        QProcess import;
        startImport(import);
        QTest::qWait(delayMs);
        ::kill(pid_t(import.processId()), SIGKILL);
        QVERIFY(import.waitForFinished());
        QCOMPARE(integrity(m_notebook->path()), QStringLiteral("ok"));
        const int count = m_notebook->count();
        QVERIFY2(count == 1 || count == 100001, qPrintable(QString::number(count)));
        if (count == 100001)
            m_notebook->execute("delete from wordDB where English like 'word%'");
    }
}

QTEST_MAIN(ImportFaultsTest)
#include "importfaults_test.moc"
