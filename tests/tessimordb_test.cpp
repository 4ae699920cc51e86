#include "Connection.h"
#include "PagedResult.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run {
    int status;
    QString out;
    QString err;
};
} // namespace

class TessimorDbTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pathNamesTheFileInTheDataFolder();
    void initCreatesTheTableOnceAndRefusesAfterwards();
    void usageErrorsExitWithTwo();

private:
    Run run(const QStringList& args);
    std::unique_ptr<QTemporaryDir> m_home;
};

void TessimorDbTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
}

Run TessimorDbTest::run(const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", m_home->path());
    process.setProcessEnvironment(env);
    process.start(TESSIMOR_DB, args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TessimorDbTest::pathNamesTheFileInTheDataFolder()
{
    const Run path = run({"path"});
    QCOMPARE(path.status, 0);
    QCOMPARE(path.out, m_home->path() + "/tessimor/word.mdb\n");
    QVERIFY(!QFile::exists(m_home->path() + "/tessimor/word.mdb"));
}

void TessimorDbTest::initCreatesTheTableOnceAndRefusesAfterwards()
{
    const QString file = m_home->path() + "/tessimor/word.mdb";
    QCOMPARE(run({"init"}).status, 0);
    {
        PagedResult table(std::make_shared<Connection>(file), "select * from wordDB", {});
        QCOMPARE(table.fieldNames(), (QStringList{"UpDay", "English", "Japanese"}));
        QCOMPARE(table.rowCount(), 0);
    }
    QFile stored(file);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    stored.close();

    const Run again = run({"init"});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains(file), qPrintable(again.err));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), before);
}

void TessimorDbTest::usageErrorsExitWithTwo()
{
    QCOMPARE(run({}).status, 2);
    QCOMPARE(run({"frobnicate"}).status, 2);
    QCOMPARE(run({"path", "extra"}).status, 2);
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("init"));
    QVERIFY(!QFile::exists(m_home->path() + "/tessimor/word.mdb"));
}

QTEST_MAIN(TessimorDbTest)
#include "tessimordb_test.moc"
