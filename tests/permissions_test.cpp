#include "FormDriver.h"
#include "TestNotebook.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

// A notebook the learner may read but not write. Root ignores permissions, so when run as root the
// test first becomes an ordinary user.
class PermissionsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(geteuid() != 0);
        m_notebook = std::make_unique<TestNotebook>();
        m_notebook->insert("2024/01/01 00:00:00", "apple", "りんご");
        m_notebook->insert("2024/01/02 00:00:00", "banana", "バナナ");
    }

    void cleanup()
    {
        QFile::setPermissions(m_notebook->folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(m_notebook->path(), QFile::ReadOwner | QFile::WriteOwner);
        m_notebook.reset();
    }

    void aReadOnlyNotebookListsButRefusesChanges_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("file read-only") << "file";
        QTest::newRow("folder read-only") << "folder";
    }

    void aReadOnlyNotebookListsButRefusesChanges()
    {
        QFETCH(QString, what);
        if (what == "file")
            QVERIFY(QFile::setPermissions(m_notebook->path(), QFile::ReadOwner));
        else
            QVERIFY(QFile::setPermissions(m_notebook->folder(), QFile::ReadOwner | QFile::ExeOwner));
        const QStringList rows = m_notebook->rows();

        FormDriver ui(m_notebook->path());
        QCOMPARE(ui.list(), (QStringList{"banana|バナナ", "apple|りんご"}));
        QCOMPARE(ui.count(), QStringLiteral("2件"));

        ui.type("cherry", "さくらんぼ");
        ui.click("Command1");
        for (const QStringList& shown : {ui.messages.takeTexts(), ui.deleteRows({0})}) {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown.first().startsWith("データベースに書き込めません"), qPrintable(shown.first()));
        }
        QCOMPARE(ui.text("Text1")->text(), QStringLiteral("cherry"));

        for (const char* view : {"Command4", "Command6", "Command3"})
            ui.click(view);
        ui.expectQuiet();
        QCOMPARE(ui.count(), QStringLiteral("2件"));
        QCOMPARE(m_notebook->rows(), rows);
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
};

int main(int argc, char* argv[])
{
    if (geteuid() == 0) {
        constexpr gid_t kNoGroup = 65534;
        constexpr uid_t kNobody = 65534;
        if (setgid(kNoGroup) != 0 || setuid(kNobody) != 0) {
            std::perror("permissions_test: cannot become an ordinary user");
            return 1;
        }
    }
    QApplication app(argc, argv);
    PermissionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "permissions_test.moc"
