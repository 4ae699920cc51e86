#include "Connection.h"
#include "FormHarness.h"
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
    void initTestCase();
    void init();
    void cleanup();
    void aRegistrationThatCannotBeWrittenKeepsTheWords();
    void aDeletionThatCannotBeWrittenKeepsThePair();

private:
    void assertSound();
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
    QStringList m_rows;
};

void DiskFullTest::initTestCase()
{
    // Past the limit a write fails with EFBIG instead of the process being killed.
    std::signal(SIGXFSZ, SIG_IGN);
}

void DiskFullTest::init()
{
    m_notebook = std::make_unique<TestNotebook>();
    m_notebook->execute("begin");
    for (int i = 0; i < 500; ++i)
        m_notebook->insert(QStringLiteral("2024/01/01 00:%1:00").arg(i % 60, 2, 10, QChar('0')),
                           QStringLiteral("word%1").arg(i), QStringLiteral("単語%1").arg(i));
    m_notebook->execute("commit");
    m_rows = m_notebook->rows();
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
}

void DiskFullTest::cleanup()
{
    QCOMPARE(m_ui->messages.takeTexts(), QStringList());
    QVERIFY(m_ui->exit.statuses.isEmpty());
    m_ui.reset();
    m_notebook.reset();
}

void DiskFullTest::assertSound()
{
    QCOMPARE(m_notebook->rows(), m_rows);
    auto check = std::make_shared<Connection>(m_notebook->path());
    auto result = check->execute("pragma integrity_check", {});
    QVERIFY(result->next());
    QCOMPARE(result->value(0).toString(), QStringLiteral("ok"));
}

void DiskFullTest::aRegistrationThatCannotBeWrittenKeepsTheWords()
{
    m_ui->text("Text1")->setText("cherry");
    m_ui->text("Text2")->setText("さくらんぼ");
    {
        FileSizeLimit limit(1024);
        m_ui->click("Command1");
    }
    const QStringList shown = m_ui->messages.takeTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith("データベースの読み書き中にエラーが発生しました"),
             qPrintable(shown.first()));
    QCOMPARE(m_ui->text("Text1")->text(), QStringLiteral("cherry"));
    QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("さくらんぼ"));
    QCOMPARE(m_ui->count(), QStringLiteral("500件"));
    assertSound();

    m_ui->click("Command1");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
    QCOMPARE(m_notebook->count(), 501);
}

void DiskFullTest::aDeletionThatCannotBeWrittenKeepsThePair()
{
    m_ui->selectRows({0});
    m_ui->messages.answerNext(MessageBox::Answer::Yes);
    {
        FileSizeLimit limit(1024);
        m_ui->click("Command2");
    }
    const QStringList shown = m_ui->messages.takeTexts();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.last().startsWith("データベースの読み書き中にエラーが発生しました"),
             qPrintable(shown.last()));
    QCOMPARE(m_ui->count(), QStringLiteral("500件"));
    assertSound();
}

QTEST_MAIN(DiskFullTest)
#include "diskfull_test.moc"
