#include "AccessReader.h"
#include "Connection.h"
#include "Launcher.h"
#include "Notebook.h"
#include "ScriptedMessageBox.h"
#include "TestNotebook.h"
#include "Translations.h"

#include <QtTest>

using Answer = MessageBox::Answer;

const QString kApple = "2024/03/01 09:05:00|apple|りんご";
const QString kAdded = "2024/03/02 07:00:00|don't|mixed カナ abc";

class LauncherTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook.emplace(TestNotebook::Schema::None);
        m_notebook->becomeTheLearners();
        m_path = Notebook::defaultPath();
        m_folder = QFileInfo(m_path).path() + '/';
        m_messages = ScriptedMessageBox();
    }

    // The old design's notebook, there when ours is not yet, is brought over and left as it was. An Access
    // file is converted, or, where this build cannot read one, said how to bring over; a new notebook starts
    // then.
    void aFormerNotebookIsBroughtOver_data()
    {
        QTest::addColumn<bool>("access");
        QTest::newRow("a notebook") << false;
        QTest::newRow("an Access file") << true;
    }

    void aFormerNotebookIsBroughtOver()
    {
        QFETCH(bool, access);
        const QString former = m_folder + "../word.mdb";
        const bool converts = access && AccessReader::available();
        if (converts)
            QCOMPARE(writeAccessFile(former, {"date", kApple}), QString());
        else if (access)
            QVERIFY(QFile::copy(ACCESS_FIXTURES "/emptyJet4.mdb", former));
        else
            Notebook::create(former);
        if (!access)
            Connection(former).execute(
                "insert into wordDB values ('2024/03/01 09:05:00', 'apple', 'りんご')");
        const QByteArray bytes = readFile(former);
        QCOMPARE(launch(TESSIMOR_DB, std::chrono::minutes(1), former), 0);
        QCOMPARE(m_notebook->rows(), access && !converts ? QStringList() : QStringList{kApple});
        QCOMPARE(m_messages.takeTexts().filter(former).size(), int(access && !converts));
        QCOMPARE(readFile(former), bytes);
        QCOMPARE(launch(TESSIMOR_DB, std::chrono::minutes(1), former), 0);
        QVERIFY(m_messages.takeTexts().isEmpty());
    }

    void aStartCutShortInAConvertFinishesIt_data()
    {
        if (!AccessReader::available())
            QSKIP("this build reads no Access files (TESSIMOR_ACCESS is OFF)");
        QTest::addColumn<QString>("state");
        QTest::newRow("half-built beside the Access file") << "half-built";
        QTest::newRow("the Access file aside") << "aside";
        QTest::newRow("the rename cut short: the Access file under both names") << "linked";
    }

    void aStartCutShortInAConvertFinishesIt()
    {
        QFETCH(QString, state);
        QCOMPARE(writeAccessFile(m_path, {"date", kApple, kAdded}), QString()); // UpDay as Date/Time
        const QByteArray access = readFile(m_path);
        QCOMPARE(launch(), 0);
        QVERIFY(QFile::rename(m_path, m_path + ".converting"));
        if (state == "half-built") {
            QVERIFY(QFile::rename(m_path + ".access", m_path));
            writeFile(m_path + ".converting", "half-built");
        }
        // The rename's link is a hard one; sameFile takes a symbolic one alike.
        if (state == "linked")
            QVERIFY(QFile::link(m_path + ".access", m_path));
        QCOMPARE(launch(), 0);
        QCOMPARE(m_notebook->rows(), QStringList({kApple, kAdded}));
        QCOMPARE(readFile(m_path + ".access"), access);
        QVERIFY(!QFileInfo::exists(m_path + ".converting"));
    }

    // No leaves everything as it was; Yes then converts them as "?", keeping the Access file.
    void charactersTheAccessFileCannotGiveBack()
    {
        if (!AccessReader::available())
            QSKIP("this build reads no Access files (TESSIMOR_ACCESS is OFF)");
        const QString day = "2024/03/04 00:00:00|";
        QCOMPARE(writeAccessFile(m_path, {"text", kApple, day + "scold|𠮟る", day + "smile|😀"}), QString());
        const QByteArray access = readFile(m_path);
        for (const Answer answer : {Answer::No, Answer::Yes}) {
            m_messages.answerNext(answer);
            QCOMPARE(launch(), int(answer == Answer::No));
            QCOMPARE(m_messages.takeTexts().filter("in 2 of").size(), 1);
            QCOMPARE(readFile(answer == Answer::Yes ? m_path + ".access" : m_path), access);
        }
        QCOMPARE(m_notebook->rows(), QStringList({kApple, day + "scold|??る", day + "smile|??"}));
    }

    // The file's tables named, in the learner's language, and the file left alone.
    void anAccessFileWithoutWordDb()
    {
        if (!AccessReader::available())
            QSKIP("this build reads no Access files (TESSIMOR_ACCESS is OFF)");
        const QString access = ACCESS_FIXTURES "/testUnicodeCompV2003.mdb";
        QVERIFY(QFile::copy(access, m_path));
        QCOMPARE(launch(), 1);
        const auto translations = Translations::install(QLocale(QLocale::Japanese, QLocale::Japan));
        QCOMPARE(launch(), 1);
        const QStringList texts = m_messages.takeTexts();
        QVERIFY2(texts.size() == 2 && texts[0] != texts[1] && texts.filter(": Table").size() == 2,
                 qPrintable(texts.join('\n')));
        QCOMPARE(readFile(m_path), readFile(access));
    }

    // Yes puts back the newest sound backup and keeps the damaged notebook; No, or no sound backup, quits.
    void aDamagedNotebook_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("soundBackup");
        QTest::newRow("yes") << Answer::Yes << true;
        QTest::newRow("no") << Answer::No << true;
        QTest::newRow("no sound backup") << Answer::Yes << false;
    }

    void aDamagedNotebook()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, soundBackup);
        QCOMPARE(launch(), 0);
        const QString backups = m_folder + "backups/";
        const QString sound = backups + "word-2024-03-08.mdb";
        QVERIFY(QFile::rename(backups + "word-2024-03-10.mdb", sound));
        if (soundBackup)
            QVERIFY(QFile::copy(sound, backups + "word-2024-03-07.mdb")); // older, without the pair
        Connection(sound).execute("insert into wordDB values ('2024/03/01 09:05:00', 'apple', 'りんご')");
        writeFile(soundBackup ? backups + "word-2024-03-09.mdb" : sound, "damaged");
        QByteArray damaged = readFile(m_path);
        damaged.replace(0, 6, "Damage"); // "SQLite format 3"
        writeFile(m_path, damaged);
        m_messages.answerNext(answer);
        const bool restores = answer == Answer::Yes && soundBackup;
        QCOMPARE(launch(), int(!restores));
        QCOMPARE(m_messages.takeTexts().size(), 1);
        QCOMPARE(m_messages.pendingAnswers(), int(!soundBackup));
        QCOMPARE(readFile(m_path + ".before-restore"), restores ? damaged : "<missing>");
        if (restores)
            QCOMPARE(m_notebook->rows(), QStringList{kApple});
        else
            QCOMPARE(readFile(m_path), damaged);
    }

    // A notebook made where there was none; a backup that cannot be made is said once, and the window starts.
    void anyOtherBackupFailure()
    {
        writeFile(m_folder + "backups", "a file");
        QCOMPARE(launch(), 0);
        QCOMPARE(m_messages.takeTexts().size(), 1);
    }

    // A conversion that hangs is killed at the limit; one that crashes is said; neither starts the window.
    void aConvertThatStops_data()
    {
        QTest::addColumn<QByteArray>("standIn");
        QTest::addColumn<QString>("said");
        QTest::newRow("hanging") << QByteArray("exec sleep 60") << "within 1 s";
        QTest::newRow("crashing") << QByteArray("kill -SEGV $$") << "stopped unexpectedly";
    }

    void aConvertThatStops()
    {
        QFETCH(QByteArray, standIn);
        QFETCH(QString, said);
#ifdef Q_OS_WIN
        QSKIP("the stand-ins for tessimor-db are shell scripts");
#endif
        const QString db = m_folder + "tessimor-db";
        writeFile(db, "#!/bin/sh\n" + standIn + "\n");
        QFile::setPermissions(db, QFile::ReadOwner | QFile::ExeOwner);
        QCOMPARE(launch(db, std::chrono::seconds(1)), 1);
        QCOMPARE(m_messages.takeTexts().filter(said).size(), 1);
    }

private:
    int launch(const QString& db = TESSIMOR_DB, std::chrono::milliseconds limit = std::chrono::minutes(1),
               const QString& former = {})
    {
        // Returning 0, run() has started the window: install_test sees it start.
        const Launcher::StartWindow started = [] { return true; };
        Launcher launcher(m_messages, m_path, db, started, limit);
        launcher.setFormerNotebook(former);
        return launcher.run(QDate(2024, 3, 10));
    }

    std::optional<TestNotebook> m_notebook;
    QString m_path;
    QString m_folder; // the notebook's, with its backups
    ScriptedMessageBox m_messages;
};

QTEST_MAIN(LauncherTest)
#include "launcher_test.moc"
