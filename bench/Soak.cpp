#include "Kit.h"

#include "Connection.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QProcess>
#include <QScrollBar>

#include <poll.h>
#include <unistd.h>

namespace {
const QString kWriterPrefix = QStringLiteral("Writer-");
constexpr double kMaxGrowthMb = 15;
constexpr int kWarmUp = 200;

// Mixed operations through the window while the writer writes; each check holds the write lock against it.
class Soak {
public:
    Soak(int operations, int pairs, const QString& cache)
        : m_operations(operations)
        , m_path(workingCopy(cache, pairs, QStringLiteral("soak")))
        , m_raw(m_path, 30000)
        , m_random(7)
    {}

    int run()
    {
        m_start = m_raw.number(Statements::kTotalCount);
        m_form = openWindow(m_path);
        m_writer.start(QCoreApplication::applicationFilePath(), {"--writer", m_path});
        require(m_writer.waitForStarted(), QStringLiteral("the writer did not start"));
        QStringList failures;
        int done = 0;
        try {
            for (; done < m_operations; ++done) {
                operate();
                if (done == kWarmUp)
                    m_warmMb = residentMb();
            }
        } catch (const std::exception& error) {
            failures << QStringLiteral("operation %1: %2").arg(done + 1).arg(error.what());
        }
        const double endMb = residentMb();
        m_form.reset();
        m_writer.closeWriteChannel();
        require(m_writer.waitForFinished(30000), QStringLiteral("the writer did not stop"));
        const QStringList tally = QString::fromUtf8(m_writer.readAllStandardOutput()).split(' ');
        const int inserts = tally.value(0).toInt();
        const int deletes = tally.value(1).toInt();
        const QString integrity = m_raw.read(QStringLiteral("pragma integrity_check"))[0][0].toString();
        const qint64 rows = m_raw.number(Statements::kTotalCount);
        const qint64 expected = m_start + m_registered - m_deleted + inserts - deletes;
        if (tally.value(2) != QLatin1String("0"))
            failures << "the writer could not write: " + tally.mid(2).join(' ');
        if (inserts + deletes == 0)
            failures << QStringLiteral("the writer wrote nothing");
        if (integrity != QLatin1String("ok"))
            failures << "integrity_check: " + integrity;
        if (rows != expected)
            failures << QStringLiteral("the notebook holds %1 pairs, expected %2").arg(rows).arg(expected);
        if (m_warmMb > 0 && endMb - m_warmMb > kMaxGrowthMb)
            failures << QStringLiteral("VmRSS grew by %1 MB").arg(endMb - m_warmMb);
        std::printf(
            "Soak: %d of %d operations on %lld pairs; %d lists and %lld cells checked against the file\n"
            "  writer: %d inserts, %d deletes; window: %lld registered, %lld deleted; %lld pairs at the end\n"
            "  VmRSS %.1f MB after %d operations, %.1f MB at the end; integrity_check: %s\n",
            done, m_operations, m_start, m_lists, m_cells, inserts, deletes, m_registered, m_deleted, rows,
            m_warmMb, kWarmUp, endMb, qPrintable(integrity));
        for (const QString& failure : failures)
            std::printf("FAIL: %s\n", qPrintable(failure));
        std::printf("Verdict: %s\n", failures.isEmpty() ? "PASS" : "FAIL");
        if (failures.isEmpty())
            QFile::remove(m_path);
        return failures.isEmpty() ? 0 : 1;
    }

private:
    void operate()
    {
        const int kind = int(m_random.below(10));
        if (kind == 0)
            return registerPair();
        if (kind == 1)
            return deleteTopRow();
        // Only reads follow: the lock is taken first, so the check sees what the window read.
        m_raw.read(QStringLiteral("begin immediate"));
        if (kind <= 4) {
            const char* buttons[] = {"Command3", "Command4", "Command6"};
            press(*m_form, buttons[kind - 2]);
            m_alphabet = kind == 3 || (kind == 4 && m_alphabet);
            m_search.clear();
        } else if (kind <= 6) {
            searchSomething();
        } else if (kind == 7) {
            QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
        } else if (kind == 8) {
            QTest::keyClick(grid(), Qt::Key_PageDown);
        } else {
            grid()->verticalScrollBar()->setValue(int(m_random.below(quint64(grid()->model()->rowCount()))));
        }
        settle();
        check();
        m_raw.read(QStringLiteral("commit"));
    }

    void registerPair()
    {
        const QVariantList pair{QStringLiteral("Soak-%1").arg(++m_registered), QStringLiteral("ソーク")};
        m_form->clock.moment = QDateTime::currentDateTime();
        m_form->type(pair[0].toString(), pair[1].toString());
        press(*m_form, "Command1");
        expectMessages(*m_form, {kRegistered});
        afterWrite(pair, 1);
    }

    void deleteTopRow()
    {
        press(*m_form, "Command3");
        int row = 0;
        while (cell(*m_form, row, 0).startsWith(kWriterPrefix))
            ++row;
        const QVariantList pair{cell(*m_form, row, 0), cell(*m_form, row, 1)};
        m_form->selectRows({row});
        m_form->messages.answerNext(MessageBox::Answer::Yes);
        press(*m_form, "Command2");
        expectMessages(*m_form, {kDeleteQuestion});
        m_deleted += 1;
        afterWrite(pair, 0);
    }

    // The write is checked in the file, then the list the window shows read again under the lock.
    void afterWrite(const QVariantList& pair, qint64 copies)
    {
        m_raw.read(QStringLiteral("begin immediate"));
        require(m_raw.number(Statements::kCheckPairList.plain(), pair) == copies,
                QStringLiteral("the file holds %1 %2 times, not %3")
                    .arg(pair[0].toString())
                    .arg(m_raw.number(Statements::kCheckPairList.plain(), pair))
                    .arg(copies));
        press(*m_form, "Command3");
        m_alphabet = false;
        m_search.clear();
        check();
        m_raw.read(QStringLiteral("commit"));
    }

    // 1 to 4 letters of a word like the notebook's; one time in four, letters at random.
    void searchSomething()
    {
        QString text = m_random.english().left(1 + int(m_random.below(4)));
        for (int i = 0; m_random.below(4) == 0 && i < text.size(); ++i)
            text[i] = QLatin1Char(char('a' + m_random.below(26)));
        const qint64 hits = m_raw.number(SearchIndex::count(text, false).statement.plain(),
                                         SearchIndex::count(text, false).values);
        m_form->search(text);
        settle();
        expectMessages(*m_form, hits > 0 ? QStringList() : QStringList{kNoHit});
        m_search = hits > 0 ? text : m_search;
    }

    // The count label and the rows in view against a raw read of the same list, by offset.
    void check()
    {
        const SearchIndex::Query search = SearchIndex::list(m_search, false);
        const Statements::List& whole =
            grid()->model()->columnCount() == 3
                ? (m_alphabet ? Statements::kDateAlphabetList : Statements::kDateList)
                : (m_alphabet ? Statements::kAlphabetList : Statements::kNormalList);
        const Statements::List& list = m_search.isEmpty() ? whole : search.statement;
        const QVariantList values = m_search.isEmpty() ? QVariantList() : search.values;
        const qint64 rows = m_raw.number(list.count(), values);
        require(shownCount(*m_form) == rows && grid()->model()->rowCount() == rows,
                QStringLiteral("the list's rows or count (%1) are not %2").arg(m_form->count()).arg(rows));
        const int first = std::max(0, grid()->rowAt(0));
        const int below = grid()->rowAt(grid()->viewport()->height() - 1);
        const int last = below < 0 ? int(rows) - 1 : below;
        const Table held = m_raw.read(list.page(Direction::WithTheList, From::TheStart),
                                      values + QVariantList{last - first + 1, first});
        for (int row = first; row <= last; ++row) {
            for (int column = 0; column < grid()->model()->columnCount(); ++column, ++m_cells)
                require(cell(*m_form, row, column) == held[row - first][column].toString(),
                        QStringLiteral("row %1 shows other texts than the file holds").arg(row));
        }
        ++m_lists;
    }

    DataGrid* grid() const { return m_form->grid("DataGrid1"); }

    int m_operations;
    QString m_path;
    Raw m_raw;
    Words m_random;
    std::unique_ptr<FormDriver> m_form;
    QProcess m_writer;
    QString m_search;
    bool m_alphabet = false;
    qint64 m_start = 0, m_registered = 0, m_deleted = 0, m_cells = 0;
    int m_lists = 0;
    double m_warmMb = -1;
};
} // namespace

int runSoak(int operations, int pairs, const QString& cache)
{
    return Soak(operations, pairs, cache).run();
}

// The writer: every 20-200 ms a Connection inserts or deletes a pair of its own, until standard input closes.
int runWriter(const QString& notebook)
{
    Words random(11);
    std::vector<QVariantList> own;
    int inserts = 0;
    int deletes = 0;
    QStringList failures;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (poll(&input, 1, 20 + int(random.below(181))) == 0) {
        const bool insert = own.empty() || (own.size() < 16 && random.below(2) == 0);
        const QVariantList pair =
            insert ? QVariantList{kWriterPrefix + QString::number(inserts + 1), QStringLiteral("ライター")}
                   : own.back();
        const QString now = UpDay::format(QDateTime::currentDateTime());
        // A program waiting its turn: the write lock first, as one raised from a read lock fails at once in
        // contention, and a busy notebook tried again, as the soak's checks hold it a command long.
        for (int attempt = 1; attempt <= 5; ++attempt) {
            try {
                Connection connection(notebook);
                connection.execute(QStringLiteral("begin immediate"));
                connection.execute(insert ? Statements::kInsert : Statements::kDelete,
                                   insert ? QVariantList{now} + pair : pair);
                connection.execute(QStringLiteral("commit"));
                if (insert)
                    own.push_back(pair);
                else
                    own.pop_back();
                ++(insert ? inserts : deletes);
                break;
            } catch (const StoreError& error) {
                if (error.isBusy() && attempt < 5)
                    continue;
                failures << QString::fromUtf8(error.what());
                break;
            }
        }
    }
    std::printf("%d %d %d %s", inserts, deletes, int(failures.size()), qPrintable(failures.join(' ')));
    return 0;
}
