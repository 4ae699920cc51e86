#include "Kit.h"

#include "Connection.h"
#include "PagedResult.h"
#include "Statements.h"
#include "StoreError.h"
#include "UpDay.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <poll.h>
#include <unistd.h>

#include <cstdio>

namespace {
// English of the writer's pairs starts with this; no generated or registered word does.
const QString kWriterPrefix = QStringLiteral("Writer-");
// A list upset by the writer is loaded again; a writer this slow (a write every 20 to 200 ms) cannot
// upset this many loads in a row.
constexpr int kRechecks = 10, kRecheckExamples = 3;
// Delete picks one of the first rows of the list that are not the writer's.
constexpr int kDeleteAmong = 8, kDeleteLooksAt = 64;
constexpr int kMemoryEvery = 500, kMemoryWarmUp = 1000, kProgressEvery = 1000;
constexpr qint64 kMaxJournalBytes = 8 * 1024 * 1024;
constexpr double kMaxGrowthMb = 15;
// The soak's own reads wait far longer than the window's, so a lock is reported by the window.
constexpr int kCheckBusyMs = 30000;
constexpr quint64 kWriterSeed = 0x57a1e5eedULL;

// Writes about as often as a learner would, lists and searches more, scrolling most (out of 100).
enum Kind { Register, Delete, Normal, Alphabet, Date, Search, Jump, End, PageDown, kKinds };
constexpr const char* kKindNames[kKinds] = {"register", "delete", "normal",   "alphabet", "date",
                                            "search",   "jump",   "ctrl+end", "page-down"};
constexpr int kKindWeights[kKinds] = {12, 8, 10, 10, 10, 15, 17, 8, 10};

// How far the writer has got, shared through a mapped file: writes begun [0] and finished [1]. A check
// made while both stood still saw no write of the writer's, so a disagreement there is not its doing.
struct Progress {
    Progress(const QString& path, bool create)
        : file(path)
    {
        const qint64 bytes = 2 * sizeof(quint64);
        require(file.open(create ? QIODevice::ReadWrite | QIODevice::Truncate : QIODevice::ReadWrite) &&
                    (!create || file.resize(bytes)),
                QStringLiteral("cannot open ") + path);
        counters = reinterpret_cast<quint64*>(file.map(0, bytes));
        require(counters, QStringLiteral("cannot map ") + path);
    }
    void add(int which) { __atomic_add_fetch(&counters[which], 1, __ATOMIC_SEQ_CST); }
    quint64 get(int which) const { return __atomic_load_n(&counters[which], __ATOMIC_SEQ_CST); }

    QFile file;
    quint64* counters = nullptr;
};

QString pairText(const QVariantList& pair)
{
    return QStringLiteral("\"%1\" / \"%2\"").arg(pair.value(0).toString(), pair.value(1).toString());
}

// Mixed operations through the real window on a large notebook while a second process writes to it now
// and then. Every operation is checked as it happens (the messages, the list against its count and the
// file, every cell in view), the journal after each, memory every few hundred, and the file at the end.
// A check the writer may have upset is made again on a list loaded afresh, never simply waived.
class Soak {
public:
    explicit Soak(const Options& options)
        : m_options(options)
        , m_notebook(workingCopy(options.cache, options.pairs, QStringLiteral("soak")))
        , m_random(options.seed)
        , m_raw(m_notebook, kCheckBusyMs)
    {}

    int run()
    {
        std::fprintf(stderr, "Soaking %d pairs with %d operations, seed %llu...\n", m_options.pairs,
                     m_options.operations, static_cast<unsigned long long>(m_options.seed));
        QElapsedTimer clock;
        try {
            start();
            clock.start();
            while (m_done < m_options.operations)
                operate(clock);
        } catch (const std::exception& error) {
            m_failures << QString::fromUtf8(error.what());
        }
        m_seconds = clock.isValid() ? double(clock.elapsed()) / 1000.0 : 0.0;
        finish();
        report();
        if (!m_failures.isEmpty())
            return 1;
        // A clean run leaves nothing behind; a failed one keeps the notebook to look at.
        QFile::remove(m_notebook);
        return 0;
    }

private:
    // The list the window shows, as the soak last loaded it: its button, the searched text when Search
    // made it, and where the writer stood just before it was loaded.
    struct Shown {
        const char* button = "Command3";
        QString search;
        quint64 since = 0;
    };

    void start()
    {
        m_startRows = m_raw.number(Statements::kTotalCount);
        require(
            m_startRows == m_options.pairs,
            QStringLiteral("the working copy holds %1 pairs, not %2").arg(m_startRows).arg(m_options.pairs));
        sampleMemory(false);
        m_form = openWindow(m_notebook);
        m_form->settle();
        recheck([this] { reload(); }, [this] { return wholeTableProblem(); });
        // The writer: this program again, on the same notebook, with a sequence of its own.
        require(m_folder.isValid(), QStringLiteral("cannot make a folder for the writer's progress"));
        const QString progress = m_folder.filePath(QStringLiteral("progress"));
        m_progress = std::make_unique<Progress>(progress, true);
        m_writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_writer.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--writer"), m_notebook, QStringLiteral("--progress"), progress,
                        QStringLiteral("--seed"), QString::number(m_options.seed ^ kWriterSeed)});
        require(m_writer.waitForStarted(10000),
                QStringLiteral("the writer did not start: ") + m_writer.errorString());
    }

    void operate(const QElapsedTimer& clock)
    {
        int draw = int(m_random.below(100)), kind = 0;
        while (draw >= kKindWeights[kind])
            draw -= kKindWeights[kind++];
        try {
            switch (kind) {
            case Register:
                registerPair();
                break;
            case Delete:
                deletePair();
                break;
            case Normal:
            case Alphabet:
            case Date: {
                const char* button = kind == Normal ? "Command3" : kind == Alphabet ? "Command4" : "Command6";
                wholeTableAfter(button, [this, button] { press(button); });
                break;
            }
            case Search:
                search();
                break;
            case Jump:
                if (rows() > 0) {
                    const int row = int(m_random.below(quint64(rows())));
                    scrolled([this, row] { showRowAtBottom(*m_form, std::min(row, rows() - 1)); });
                }
                break;
            case End:
                scrolled([this] {
                    m_form->key(Qt::Key_End, Qt::ControlModifier);
                    require(currentRow() == rows() - 1,
                            QStringLiteral("Ctrl+End did not reach the last row"));
                });
                break;
            default:
                scrolled([this] {
                    const int before = currentRow();
                    m_form->key(Qt::Key_PageDown);
                    require(
                        currentRow() > before || currentRow() == rows() - 1,
                        QStringLiteral("PageDown went from row %1 to row %2").arg(before).arg(currentRow()));
                });
            }
        } catch (const std::exception& error) {
            throw std::runtime_error(
                QStringLiteral("operation %1 (%2): %3")
                    .arg(m_done + 1)
                    .arg(QLatin1String(kKindNames[kind]), QString::fromUtf8(error.what()))
                    .toStdString());
        }
        ++m_byKind[kind];
        ++m_done;
        for (int file = 0; file < 2; ++file) {
            const QFileInfo info(m_notebook + (file ? QStringLiteral("-wal") : QStringLiteral("-journal")));
            m_journalSeen[file] += info.exists() ? 1 : 0;
            m_maxJournal[file] = std::max(m_maxJournal[file], info.exists() ? info.size() : 0);
        }
        sampleMemory(false);
        if (m_done % kProgressEvery == 0)
            std::fprintf(stderr, "  %6d operations  %6.1f s  VmRSS %5.1f MB  -journal max %lld B\n", m_done,
                         double(clock.elapsed()) / 1000.0, m_memory[2], m_maxJournal[0]);
    }

    void registerPair()
    {
        ++m_serial;
        const QVariantList pair{QStringLiteral("Soak-%1").arg(m_serial),
                                QStringLiteral("ソーク%1").arg(m_serial)};
        m_form->clock.moment = QDateTime::currentDateTime();
        m_form->type(pair[0].toString(), pair[1].toString());
        wholeTableAfter("Command3", [this, pair] {
            press("Command1");
            expectMessages(*m_form, {kRegistered});
            require(m_form->text("Text1")->text().isEmpty() && m_form->text("Text2")->text().isEmpty(),
                    QStringLiteral("Register left its texts in the boxes"));
            require(pairCount(pair) == 1,
                    QStringLiteral("the file does not hold %1 once").arg(pairText(pair)));
            ++m_registered;
        });
    }

    void deletePair()
    {
        const int row = rowToDelete();
        DataGrid* list = m_form->grid("DataGrid1");
        list->scrollTo(list->model()->index(row, 0));
        m_form->settle();
        m_form->clickRow(row);
        m_form->settle();
        require(currentRow() == row, QStringLiteral("a click on row %1 did not select it").arg(row));
        const QVariantList pair = pairAt(row);
        const qint64 stored = pairCount(pair);
        require(stored > 0,
                QStringLiteral("row %1 shows %2, which the file does not hold").arg(row).arg(pairText(pair)));
        m_form->messages.answerNext(MessageBox::Answer::Yes);
        wholeTableAfter("Command3", [this, pair, stored] {
            press("Command2");
            expectMessages(*m_form, {kDeleteQuestion});
            require(pairCount(pair) == 0, QStringLiteral("%1 is still in the file").arg(pairText(pair)));
            m_deleted += stored;
        });
    }

    void search()
    {
        const Shown before = m_shown;
        m_shown = Shown{"Command5", searchText(), writerMark()};
        m_form->text("Text3")->setText(m_shown.search);
        press("Command5");
        bool hit = true;
        recheck([this] { reload(); }, [this, &hit] { return searchProblem(&hit); });
        if (!hit) {
            // The list stays as it was.
            m_shown = before;
            ++m_noHitSearches;
        }
    }

    // Runs an action that ends in the whole table listed by `button`, then checks that list.
    void wholeTableAfter(const char* button, const std::function<void()>& action)
    {
        m_shown = Shown{button, {}, writerMark()};
        action();
        recheck([this] { reload(); }, [this] { return wholeTableProblem(); });
    }

    // Scrolls the list, then checks every cell that comes into view.
    void scrolled(const std::function<void()>& scroll)
    {
        scroll();
        recheck(
            [this, scroll] {
                reload();
                takeMessages(*m_form, m_shown.search.isEmpty() ? QStringList() : QStringList{kNoHit});
                scroll();
            },
            [this] { return cellsProblem(); });
        m_form->settle();
    }

    // Repeats the check on the list loaded afresh (`again`) while it finds a problem the writer may have
    // caused; fails on one it cannot have.
    void recheck(const std::function<void()>& again, const std::function<QString()>& problem)
    {
        for (int attempt = 0;; ++attempt) {
            const QString found = problem();
            if (found.isEmpty())
                return;
            require(m_progress && m_progress->get(0) != m_shown.since, found);
            require(attempt < kRechecks,
                    found + QStringLiteral(" (still, after %1 loads while the writer wrote)").arg(kRechecks));
            if (m_rechecks++ < kRecheckExamples)
                m_recheckExamples << found;
            again();
        }
    }

    void reload()
    {
        m_shown.since = writerMark();
        if (!m_shown.search.isEmpty())
            m_form->text("Text3")->setText(m_shown.search);
        press(m_shown.button);
    }

    QString wholeTableProblem()
    {
        expectMessages(*m_form, {});
        return listProblem(m_raw.number(Statements::kTotalCount));
    }

    QString searchProblem(bool* hit)
    {
        const QStringList shown = takeMessages(*m_form, {kNoHit});
        require(shown.size() <= 1, QStringLiteral("Search showed %1 boxes").arg(shown.size()));
        const qint64 stored =
            m_raw.number(Statements::kSearchCount, {Statements::searchPattern(m_shown.search)});
        *hit = shown.isEmpty();
        if (*hit)
            return stored > 0 ? listProblem(stored)
                              : QStringLiteral("Search listed hits for \"%1\", which the file does not hold")
                                    .arg(m_shown.search);
        require(m_form->text("Text3")->text().isEmpty(),
                QStringLiteral("Search without a hit left its text in the box"));
        return stored == 0 ? QString()
                           : QStringLiteral("Search found no hit for \"%1\" but the file holds %2")
                                 .arg(m_shown.search)
                                 .arg(stored);
    }

    // The list's rows, the count shown and `stored` disagree, or a cell in view is blank.
    QString listProblem(qint64 stored)
    {
        ++m_listsChecked;
        const qint64 shown = shownCount(*m_form);
        if (rows() != shown)
            return QStringLiteral("the list has %1 rows but the count shows %2").arg(rows()).arg(shown);
        if (rows() != stored)
            return QStringLiteral("the list and the count show %1 but the file holds %2")
                .arg(rows())
                .arg(stored);
        return cellsProblem();
    }

    // Reads every cell in view as the list paints them.
    QString cellsProblem()
    {
        const DataGrid* list = m_form->grid("DataGrid1");
        const int first = list->rowAt(0);
        int last = list->rowAt(list->viewport()->height() - 1);
        if (first < 0)
            return {};
        if (last < 0)
            last = rows() - 1;
        for (int row = first; row <= last; ++row) {
            for (int column = 0; column < list->model()->columnCount(); ++column) {
                ++m_cellsRead;
                if (cell(row, column).isEmpty())
                    return QStringLiteral("row %1 of the list's %2 is blank").arg(row).arg(rows());
            }
        }
        return {};
    }

    QString cell(int row, int column) const
    {
        const PagedResult* result = m_form->listResult();
        require(result, QStringLiteral("the list shows no result"));
        try {
            return result->text(row, column);
        } catch (const StoreError& error) {
            // The list swallows this and paints the row blank: a grid cut short without a word.
            throw std::runtime_error(QStringLiteral("reading row %1 of the list failed, which the list shows "
                                                    "as a blank row: %2")
                                         .arg(row)
                                         .arg(QString::fromUtf8(error.what()))
                                         .toStdString());
        }
    }

    QVariantList pairAt(int row) const
    {
        const PagedResult* result = m_form->listResult();
        require(result, QStringLiteral("the list shows no result"));
        return {cell(row, result->columnOf(QStringLiteral("English"))),
                cell(row, result->columnOf(QStringLiteral("Japanese")))};
    }

    qint64 pairCount(const QVariantList& pair) { return m_raw.number(Statements::kCheckPair, pair); }

    int rowToDelete()
    {
        std::vector<int> candidates;
        for (int attempt = 0; attempt < 2 && candidates.empty(); ++attempt) {
            // The writer's pairs are its own to delete; a list of nothing else starts the newest-first list.
            if (attempt > 0)
                wholeTableAfter("Command3", [this] { press("Command3"); });
            for (int row = 0; row < std::min(rows(), kDeleteLooksAt) && int(candidates.size()) < kDeleteAmong;
                 ++row) {
                if (!pairAt(row).value(0).toString().startsWith(kWriterPrefix))
                    candidates.push_back(row);
            }
        }
        require(!candidates.empty(), QStringLiteral("no row to delete near the top of the list"));
        return candidates[size_t(m_random.below(candidates.size()))];
    }

    QString searchText()
    {
        const int length = 1 + int(m_random.below(4));
        QString text;
        // One time in five letters at random, which often match nothing; otherwise part of a word like the
        // notebook's.
        if (m_random.below(5) == 0) {
            for (int i = 0; i < length; ++i)
                text += QLatin1Char(char('a' + m_random.below(26)));
            return text;
        }
        const QByteArray word = m_random.english();
        const int start = int(m_random.below(quint64(std::max<qsizetype>(1, word.size() - length + 1))));
        return QString::fromLatin1(word.mid(start, length));
    }

    void press(const char* button)
    {
        m_form->click(button);
        m_form->settle();
    }

    quint64 writerMark() const { return m_progress ? m_progress->get(1) : 0; }
    int rows() const { return m_form->grid("DataGrid1")->model()->rowCount(); }
    int currentRow() const { return m_form->grid("DataGrid1")->currentIndex().row(); }

    // VmRSS before the first operation, every kMemoryEvery, and at the end: first, after warm-up, last,
    // largest. Growth is measured from warm-up, once caches and fonts have settled.
    void sampleMemory(bool last)
    {
        if (m_done % kMemoryEvery != 0 && !last)
            return;
        const double mb = residentMb();
        if (m_memory[0] < 0)
            m_memory[0] = mb;
        if (m_done == kMemoryWarmUp)
            m_memory[1] = mb;
        m_memory[2] = mb;
        m_memory[3] = std::max(m_memory[3], mb);
    }

    void finish()
    {
        sampleMemory(true);
        if (m_progress) {
            m_writer.closeWriteChannel();
            const bool stopped = m_writer.waitForFinished(10000) &&
                                 m_writer.exitStatus() == QProcess::NormalExit && m_writer.exitCode() == 0;
            const QJsonDocument json = QJsonDocument::fromJson(m_writer.readAllStandardOutput());
            if (!stopped || !json.isObject())
                m_failures << QStringLiteral("the writer did not stop cleanly and say what it did");
            m_writerTally = json.object();
            m_writer.kill();
            m_writer.waitForFinished(10000);
        }
        m_form.reset();
        const auto check = [this](bool passed, const QString& failure) {
            if (!passed)
                m_failures << failure;
        };
        check(std::max(m_maxJournal[0], m_maxJournal[1]) <= kMaxJournalBytes,
              QString::asprintf("the journal grew to %lld bytes (-wal %lld), above %lld", m_maxJournal[0],
                                m_maxJournal[1], kMaxJournalBytes));
        check(
            m_memory[1] < 0 || m_memory[2] - m_memory[1] <= kMaxGrowthMb,
            QString::asprintf("memory grew by %.1f MB after warm-up (%.1f MB to %.1f MB), more than %.0f MB",
                              m_memory[2] - m_memory[1], m_memory[1], m_memory[2], kMaxGrowthMb));
        check(m_done == 0 || writer("inserts") + writer("deletes") > 0,
              QStringLiteral("the writer wrote nothing, so nothing ran beside the window"));
        check(writer("failures") == 0,
              QString::asprintf("the writer could not write %d times (%s): the notebook "
                                "was held longer than the busy timeout",
                                writer("failures"), qPrintable(writerFailureTexts())));
        check(writer("missing") == 0,
              QString::asprintf("%d of the writer's pairs were gone before it deleted them",
                                writer("missing")));
        try {
            m_integrity = m_raw.firstRow(QStringLiteral("pragma integrity_check")).value(0);
            check(m_integrity == QLatin1String("ok"),
                  QStringLiteral("pragma integrity_check says: ") + m_integrity);
            m_finalRows = m_raw.number(Statements::kTotalCount);
            m_writerRows = m_raw.number(Statements::kSearchCount, {kWriterPrefix + QLatin1Char('%')});
        } catch (const std::exception& error) {
            m_failures << QStringLiteral("checking the file: ") + QString::fromUtf8(error.what());
        }
        // A run stopped half way may have left an operation's tally short; its own failure says what.
        if (m_done < m_options.operations)
            return;
        check(m_finalRows == expectedRows(),
              QString::asprintf("the file holds %lld pairs, expected %lld", m_finalRows, expectedRows()));
        check(m_writerRows == writerNet(),
              QString::asprintf("the file holds %lld of the writer's pairs, expected %d", m_writerRows,
                                writerNet()));
    }

    int writer(const char* field) const { return m_writerTally[QLatin1String(field)].toInt(); }
    int writerNet() const { return writer("inserts") - writer("deletes"); }
    QString writerFailureTexts() const
    {
        QStringList texts;
        for (const QJsonValue& text : m_writerTally[QLatin1String("failureTexts")].toArray())
            texts << text.toString();
        return texts.join(QStringLiteral("; "));
    }
    qint64 expectedRows() const { return m_startRows + m_registered - m_deleted + writerNet(); }

    void report() const
    {
        QStringList kinds;
        for (int kind = 0; kind < kKinds; ++kind)
            kinds << QStringLiteral("%1 %2").arg(QLatin1String(kKindNames[kind])).arg(m_byKind[kind]);
        std::printf("Soak: %d of %d operations on %d pairs, seed %llu\n", m_done, m_options.operations,
                    m_options.pairs, static_cast<unsigned long long>(m_options.seed));
        std::printf("  Machine      %s\n  Operations   %s\n", qPrintable(machine()),
                    qPrintable(kinds.join(QStringLiteral(", "))));
        std::printf("  Elapsed      %.1f s, %.1f operations/s\n", m_seconds,
                    m_seconds > 0 ? m_done / m_seconds : 0.0);
        std::printf("  Writer       %d writes (%d inserts, %d deletes), %d failures%s%s\n",
                    writer("inserts") + writer("deletes"), writer("inserts"), writer("deletes"),
                    writer("failures"), writer("failures") > 0 ? qPrintable(": " + writerFailureTexts()) : "",
                    writer("missing") > 0 ? ", some of its pairs gone before it deleted them" : "");
        std::printf("  Journal      -journal max %.1f KB (present in %d of %d samples); ",
                    m_maxJournal[0] / 1024.0, m_journalSeen[0], m_done);
        if (m_journalSeen[1] > 0)
            std::printf("-wal max %.1f KB (present in %d samples)\n", m_maxJournal[1] / 1024.0,
                        m_journalSeen[1]);
        else
            std::printf("-wal never present\n");
        std::printf("  Memory       VmRSS first %.1f MB, last %.1f MB, max %.1f MB; ", m_memory[0],
                    m_memory[2], m_memory[3]);
        if (m_memory[1] < 0)
            std::printf("too few operations to measure growth\n");
        else
            std::printf("after warm-up %.1f MB, growth %.1f MB\n", m_memory[1], m_memory[2] - m_memory[1]);
        std::printf(
            "  Lists        %d checked against the count and the file, %d checked again after the writer "
            "wrote; %lld cells read in view\n",
            m_listsChecked, m_rechecks, m_cellsRead);
        if (!m_recheckExamples.isEmpty())
            std::printf("  Rechecked    first: %s\n",
                        qPrintable(m_recheckExamples.join(QStringLiteral("; "))));
        std::printf("  Searches     %d without a hit\n  Integrity    %s\n", m_noHitSearches,
                    m_integrity.isEmpty() ? "not checked" : qPrintable(m_integrity));
        std::printf(
            "  Pairs        %lld + %lld registered - %lld deleted %c %d by the writer = %lld; the file holds "
            "%lld, %lld of them the writer's\n",
            m_startRows, m_registered, m_deleted, writerNet() < 0 ? '-' : '+', qAbs(writerNet()),
            expectedRows(), m_finalRows, m_writerRows);
        for (const QString& failure : m_failures)
            std::printf("FAIL: %s\n", qPrintable(failure));
        if (m_failures.isEmpty())
            std::printf("Verdict: PASS\n");
        else
            std::printf("Verdict: FAIL (again with: scripts/soak --pairs %d --operations %d --seed %llu; the "
                        "notebook is kept at %s)\n",
                        m_options.pairs, m_options.operations,
                        static_cast<unsigned long long>(m_options.seed), qPrintable(m_notebook));
    }

    Options m_options;
    QString m_notebook;
    Words m_random;
    Raw m_raw;
    std::unique_ptr<FormDriver> m_form;
    QTemporaryDir m_folder;
    std::unique_ptr<Progress> m_progress;
    QProcess m_writer;
    QJsonObject m_writerTally;
    Shown m_shown;
    int m_serial = 0, m_done = 0, m_byKind[kKinds] = {}, m_listsChecked = 0, m_rechecks = 0,
        m_noHitSearches = 0;
    qint64 m_startRows = 0, m_registered = 0, m_deleted = 0, m_finalRows = -1, m_writerRows = -1,
           m_cellsRead = 0;
    // -journal and -wal: the largest each has been, and in how many samples it was there at all.
    qint64 m_maxJournal[2] = {0, 0};
    int m_journalSeen[2] = {0, 0};
    // VmRSS in MB: first, after warm-up (-1 until then), last, largest.
    double m_memory[4] = {-1, -1, 0, 0};
    double m_seconds = 0;
    QStringList m_recheckExamples, m_failures;
    QString m_integrity;
};
} // namespace

int runSoak(const Options& options)
{
    return Soak(options).run();
}

// The soak's second process: now and then it opens a connection of the store's own, as another copy of
// the program would, and inserts a pair or deletes one of its own earlier pairs. It stops when its
// standard input closes (the soak tells it so, or has gone) and prints its tally as JSON.
int runWriter(const Options& options)
{
    Progress progress(options.progress, false);
    Words random(options.seed);
    const pid_t parent = getppid();
    std::vector<QVariantList> own;
    int serial = 0, inserts = 0, deletes = 0, failures = 0, missing = 0;
    QStringList failureTexts;
    const auto stopRequested = [parent](int ms) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        char byte = 0;
        // Anything on standard input, its end included, means stop.
        return (poll(&input, 1, ms) > 0 && read(STDIN_FILENO, &byte, 1) >= 0) || getppid() != parent;
    };
    while (!stopRequested(20 + int(random.below(181)))) {
        progress.add(0);
        try {
            // A connection per write, as a copy of the program opens one per command. Its own pairs stay
            // few, so they never crowd the top of the newest-first list the soak deletes from.
            Connection connection(options.writer);
            if (own.empty() || (own.size() < 32 && random.below(2) == 0)) {
                ++serial;
                const QVariantList pair{kWriterPrefix + QString::number(serial),
                                        QStringLiteral("ライター%1").arg(serial)};
                connection.execute(Statements::kInsert,
                                   QVariantList{UpDay::format(QDateTime::currentDateTime())} + pair);
                own.push_back(pair);
                ++inserts;
            } else {
                const size_t which = size_t(random.below(own.size()));
                const auto query = connection.execute(Statements::kDelete, own[which]);
                own.erase(own.begin() + std::ptrdiff_t(which));
                ++(query->numRowsAffected() == 1 ? deletes : missing);
            }
        } catch (const StoreError& error) {
            if (++failures <= 5)
                failureTexts << error.engineText();
        }
        progress.add(1);
    }
    const QJsonObject tally{{"inserts", inserts},
                            {"deletes", deletes},
                            {"failures", failures},
                            {"missing", missing},
                            {"failureTexts", QJsonArray::fromStringList(failureTexts)}};
    const QByteArray json = QJsonDocument(tally).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
