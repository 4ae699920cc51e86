#include "Connection.h"
#include "FormDriver.h"
#include "TestNotebook.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
// Files written by this process may not grow past `bytes` until the guard goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};
} // namespace

// The disk filling up (here: the file-size limit reached) in the middle of a write.
class DiskFullTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Past the limit a write fails with EFBIG instead of the process being killed.
        std::signal(SIGXFSZ, SIG_IGN);
    }

    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_notebook->fill(500);
        m_rows = m_notebook->rows();
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
    }

    void cleanup()
    {
        m_ui->expectQuiet();
        m_ui.reset();
        m_notebook.reset();
    }

    void aWriteThatCannotBeMadeKeepsTheWordsAndThePairs_data()
    {
        QTest::addColumn<bool>("registering");
        QTest::newRow("register") << true;
        QTest::newRow("delete") << false;
    }

    void aWriteThatCannotBeMadeKeepsTheWordsAndThePairs()
    {
        QFETCH(bool, registering);
        m_ui->type("cherry", "さくらんぼ");
        QStringList shown;
        {
            FileSizeLimit limit(1024);
            if (registering) {
                m_ui->click("Command1");
                shown = m_ui->messages.takeTexts();
            } else {
                shown = m_ui->deleteRows({0});
            }
        }
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("データベースの読み書き中にエラーが発生しました"),
                 qPrintable(shown.first()));
        QCOMPARE(m_ui->text("Text1")->text(), QStringLiteral("cherry"));
        QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("さくらんぼ"));
        QCOMPARE(m_ui->count(), QStringLiteral("500件"));
        QCOMPARE(m_notebook->rows(), m_rows);
        {
            Connection check(m_notebook->path());
            auto result = check.execute("pragma integrity_check", {});
            QVERIFY(result->next());
            QCOMPARE(result->value(0).toString(), QStringLiteral("ok"));
        }
        // Room again: the same words go in.
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QCOMPARE(m_notebook->count(), 501);
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
    QStringList m_rows;
};

QTEST_MAIN(DiskFullTest)
#include "diskfull_test.moc"
