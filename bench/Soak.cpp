#include "Kit.h"

#include "Connection.h"
#include "StoreError.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>

#include <poll.h>
#include <unistd.h>

namespace {
// English of the writer's pairs starts with this; no generated or registered word does.
const QString kWriterPrefix = QStringLiteral("Writer-");
// A list upset by the writer is loaded again; a writer this slow (a write every 20 to 200 ms) cannot
// upset this many loads in a row.
constexpr int kRechecks = 10;
// Delete picks one of the first rows of the list that are not the writer's.
constexpr int kDeleteAmong = 8, kDeleteLooksAt = 64;
constexpr int kMemoryEvery = 500, kMemoryWarmUp = 1000;
constexpr qint64 kMaxJournalBytes = 8 * 1024 * 1024;
constexpr double kMaxGrowthMb = 15;

// Writes about as often as a learner would, lists and searches more, scrolling most (out of 100).
enum Kind { Register, Delete, Normal, Alphabet, Date, Search, Jump, End, PageDown, kKinds };
const char* const kKindNames[kKinds] = {"register", "delete", "normal",   "alphabet", "date",
                                        "search",   "jump",   "ctrl+end", "page-down"};
const int kKindWeights[kKinds] = {12, 8, 10, 10, 10, 15, 17, 8, 10};

// How far the writer has got, shared through a mapped file: writes begun [0] and finished [1]. A check
// made while both stood still saw no write of the writer's, so a disagreement there is not its doing.
std::atomic<quint64>* progress(QFile& file, bool create)
{
    uchar* mapped =
        file.open(QIODevice::ReadWrite) && (!create || file.resize(16)) ? file.map(0, 16) : nullptr;
    require(mapped, QStringLiteral("cannot map ") + file.fileName());
    return reinterpret_cast<std::atomic<quint64>*>(mapped);
}

// Mixed operations through the window while a second process writes now and then, each checked as it
// happens; a check the writer may have upset is made again on a list loaded afresh, never simply waived.
struct Soak {
    explicit Soak(const Options& options)
        : m_options(options)
        , m_notebook(workingCopy(options.paths.value("cache"), options.pairs, QStringLiteral("soak")))
        , m_random(options.seed)
        // The soak's reads wait far longer than the window's, so a lock is reported by the window.
        , m_raw(m_notebook, 30000)
    {}

    int run()
    {
        std::fprintf(stderr, "Soaking %d pairs with %d operations, seed %llu...\n", m_options.pairs,
                     m_options.operations, m_options.seed);
        try {
            m_startRows = m_raw.number(Statements::kTotalCount);
            require(m_startRows == m_options.pairs,
                    QStringLiteral("the working copy holds %1 pairs").arg(m_startRows));
            sampleMemory(false);
            m_form = openWindow(m_notebook);
            m_form->settle();
            recheck([this] { return wholeTableProblem(); });
            // The writer: this program again on the same notebook, with a sequence of its own.
            m_progressFile.setFileName(m_folder.filePath(QStringLiteral("progress")));
            m_progress = progress(m_progressFile, true);
            m_writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            m_writer.start(QCoreApplication::applicationFilePath(),
                           {"--writer", m_notebook, "--progress", m_progressFile.fileName(), "--seed",
                            QString::number(m_options.seed ^ 0x57a1e5eedULL)});
            require(m_writer.waitForStarted(10000), "the writer did not start: " + m_writer.errorString());
            m_clock.start();
            while (m_done < m_options.operations)
                operate();
        } catch (const std::exception& error) {
            m_failures << QString::fromUtf8(error.what());
        }
        m_seconds = m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0;
        finish();
        report();
        // A clean run leaves nothing behind; a failed one keeps the notebook to look at.
        if (m_failures.isEmpty())
            QFile::remove(m_notebook);
        return m_failures.isEmpty() ? 0 : 1;
    }

    void operate()
    {
        int draw = int(m_random.below(100)), kind = 0;
        while (draw >= kKindWeights[kind])
            draw -= kKindWeights[kind++];
        try {
            if (kind == Register)
                registerPair();
            else if (kind == Delete)
                deletePair();
            else if (kind == Search)
                search();
            else if (kind >= Jump)
                scrolled(kind);
            else
                wholeTableAfter(kind == Normal ? "Command3" : kind == Alphabet ? "Command4" : "Command6", {});
        } catch (const std::exception& error) {
            throw std::runtime_error(
                QString::asprintf("operation %d (%s): %s", m_done + 1, kKindNames[kind], error.what())
                    .toStdString());
        }
        ++m_byKind[kind];
        ++m_done;
        for (int file = 0; file < 2; ++file) {
            const QFileInfo info(m_notebook + (file == 0 ? "-journal" : "-wal"));
            m_journalSeen[file] += info.exists() ? 1 : 0;
            m_maxJournal[file] = std::max(m_maxJournal[file], info.exists() ? info.size() : 0);
        }
        sampleMemory(false);
        if (m_done % 1000 == 0)
            std::fprintf(stderr, "  %6d operations  %6.1f s  VmRSS %5.1f MB  -journal max %lld B\n", m_done,
                         double(m_clock.elapsed()) / 1000.0, m_memory[2], m_maxJournal[0]);
    }

    void registerPair()
    {
        ++m_serial;
        const QVariantList pair{QStringLiteral("Soak-%1").arg(m_serial),
                                QStringLiteral("ソーク%1").arg(m_serial)};
        m_form->clock.moment = QDateTime::currentDateTime();
        m_form->type(pair[0].toString(), pair[1].toString());
        wholeTableAfter("Command1", [this, pair] {
            takeMessages(*m_form, {kRegistered}, true);
            require(m_form->text("Text1")->text().isEmpty() && m_form->text("Text2")->text().isEmpty(),
                    QStringLiteral("Register left its texts in the boxes"));
            require(pairCount(pair) == 1, "the file does not hold " + pair[0].toString() + " once");
            ++m_registered;
        });
    }

    void deletePair()
    {
        const int row = rowToDelete();
        list()->scrollTo(list()->model()->index(row, 0));
        m_form->settle();
        m_form->clickRow(row);
        m_form->settle();
        require(currentRow() == row, QStringLiteral("a click on row %1 did not select it").arg(row));
        const QVariantList pair = pairAt(row);
        const qint64 stored = pairCount(pair);
        require(
            stored > 0,
            QStringLiteral("row %1 shows %2, which the file does not hold").arg(row).arg(pair[0].toString()));
        m_form->messages.answerNext(MessageBox::Answer::Yes);
        wholeTableAfter("Command2", [this, pair, stored] {
            takeMessages(*m_form, {kDeleteQuestion}, true);
            require(pairCount(pair) == 0, pair[0].toString() + " is still in the file");
            m_deleted += stored;
        });
    }

    // Presses the button, which ends in the whole table listed, checks what `after` says, then the list.
    // Register and Delete (the buttons with an `after`) list it as Normal does.
    void wholeTableAfter(const char* button, const std::function<void()>& after)
    {
        m_shown = {after ? "Command3" : button, QString(), writerMark()};
        press(button);
        if (after)
            after();
        recheck([this] { return wholeTableProblem(); });
    }

    void search()
    {
        const Shown before = m_shown;
        m_shown = {"Command5", searchText(), writerMark()};
        m_form->search(m_shown.search);
        m_form->settle();
        bool hit = true;
        recheck([this, &hit] { return searchProblem(&hit); });
        if (!hit) {
            // The list stays as it was.
            m_shown = before;
            ++m_noHitSearches;
        }
    }

    // Scrolls the list, then checks every cell that comes into view.
    void scrolled(int kind)
    {
        const quint64 draw = m_random.below(1u << 30);
        const auto scroll = [this, kind, draw] {
            const int before = currentRow(), last = rows() - 1;
            if (kind == Jump && last >= 0)
                showRowAtBottom(*m_form, int(draw % quint64(rows())));
            if (kind == Jump)
                return;
            m_form->key(kind == End ? Qt::Key_End : Qt::Key_PageDown,
                        kind == End ? Qt::ControlModifier : Qt::NoModifier);
            require(
                currentRow() == last || (kind == PageDown && currentRow() > before),
                QString::asprintf("%s went from row %d to row %d", kKindNames[kind], before, currentRow()));
        };
        scroll();
        recheck([this] { return cellsProblem(); }, scroll);
        m_form->settle();
    }

    // Repeats the check on the list loaded afresh (and scrolled again) while it finds a problem the writer
    // may have caused; fails on one it cannot have.
    void recheck(const std::function<QString()>& problem, const std::function<void()>& scroll = {})
    {
        for (int attempt = 0;; ++attempt) {
            const QString found = problem();
            if (found.isEmpty())
                return;
            require(m_progress && m_progress[0] != m_shown.since, found);
            require(attempt < kRechecks,
                    found + QStringLiteral(" (still, after %1 loads while the writer wrote)").arg(kRechecks));
            if (m_rechecks++ < 3)
                m_recheckExamples << found;
            m_shown.since = writerMark();
            if (!m_shown.search.isEmpty())
                m_form->text("Text3")->setText(m_shown.search);
            press(m_shown.button);
            if (scroll) {
                takeMessages(*m_form, m_shown.search.isEmpty() ? QStringList() : QStringList{kNoHit});
                scroll();
            }
        }
    }

    QString wholeTableProblem()
    {
        takeMessages(*m_form, {}, true);
        return listProblem(m_raw.number(Statements::kTotalCount));
    }

    QString searchProblem(bool* hit)
    {
        const QStringList shown = takeMessages(*m_form, {kNoHit});
        require(shown.size() <= 1, QStringLiteral("Search showed %1 boxes").arg(shown.size()));
        const qint64 stored =
            m_raw.number(Statements::kSearchCount, {Statements::searchPattern(m_shown.search)});
        *hit = shown.isEmpty();
        if (*hit && stored > 0)
            return listProblem(stored);
        require(*hit || m_form->text("Text3")->text().isEmpty(),
                QStringLiteral("Search without a hit left its text in the box"));
        return *hit || stored > 0 ? QStringLiteral("Search for \"%1\" showed %2, the file holds %3 hits")
                                        .arg(m_shown.search, *hit ? "a list" : "no hit")
                                        .arg(stored)
                                  : QString();
    }

    // The list's rows, the count shown and `stored` disagree, or a cell in view is blank.
    QString listProblem(qint64 stored)
    {
        ++m_listsChecked;
        const qint64 shown = shownCount(*m_form);
        if (rows() != shown || rows() != stored)
            return QString::asprintf("the list has %d rows, the count shows %lld, the file holds %lld",
                                     rows(), shown, stored);
        return cellsProblem();
    }

    // Reads every cell in view as the list paints them.
    QString cellsProblem()
    {
        const int first = list()->rowAt(0), below = list()->rowAt(list()->viewport()->height() - 1);
        // Below the last row the grid's header may keep sections of a longer list; they show nothing.
        const int last = below < 0 ? rows() - 1 : std::min(below, rows() - 1);
        for (int row = std::max(first, 0); first >= 0 && row <= last; ++row) {
            for (int column = 0; column < list()->model()->columnCount(); ++column, ++m_cellsRead) {
                if (cell(row, column).isEmpty())
                    return QStringLiteral("row %1 of the list's %2 is blank").arg(row).arg(rows());
            }
        }
        return {};
    }

    QString cell(int row, int column) const
    {
        require(m_form->listResult(), QStringLiteral("the list shows no result"));
        try {
            return m_form->listResult()->text(row, column);
        } catch (const StoreError& error) {
            // The list swallows this and paints the row blank: a grid cut short without a word.
            throw std::runtime_error(
                std::string("a read of the list failed, which it shows as blank rows: ") + error.what());
        }
    }

    QVariantList pairAt(int row) const
    {
        return {cell(row, m_form->listResult()->columnOf(QStringLiteral("English"))),
                cell(row, m_form->listResult()->columnOf(QStringLiteral("Japanese")))};
    }

    qint64 pairCount(const QVariantList& pair) { return m_raw.number(Statements::kCheckPair, pair); }

    int rowToDelete()
    {
        std::vector<int> rowsToPick;
        for (int attempt = 0; attempt < 2 && rowsToPick.empty(); ++attempt) {
            // The writer's pairs are its own to delete; a list of nothing else starts the newest-first list.
            if (attempt > 0)
                wholeTableAfter("Command3", {});
            for (int row = 0; row < std::min(rows(), kDeleteLooksAt) && int(rowsToPick.size()) < kDeleteAmong;
                 ++row) {
                if (!pairAt(row).value(0).toString().startsWith(kWriterPrefix))
                    rowsToPick.push_back(row);
            }
        }
        require(!rowsToPick.empty(), QStringLiteral("no row to delete near the top of the list"));
        return rowsToPick[size_t(m_random.below(rowsToPick.size()))];
    }

    // 1 to 4 letters: part of a word like the notebook's, or one time in five letters at random, which
    // often match nothing.
    QString searchText()
    {
        const int length = 1 + int(m_random.below(4));
        QByteArray text = m_random.english();
        text =
            text.mid(int(m_random.below(quint64(std::max<qsizetype>(1, text.size() - length + 1)))), length);
        for (int i = 0, random = m_random.below(5) == 0; random && i < text.size(); ++i)
            text[i] = char('a' + m_random.below(26));
        return QString::fromLatin1(text);
    }

    void press(const char* button)
    {
        m_form->click(button);
        m_form->settle();
    }

    quint64 writerMark() const { return m_progress ? m_progress[1].load() : 0; }
    DataGrid* list() const { return m_form->grid("DataGrid1"); }
    int rows() const { return list()->model()->rowCount(); }
    int currentRow() const { return list()->currentIndex().row(); }

    // VmRSS before the first operation, every few hundred, and at the end. Growth is measured from the
    // sample after warm-up, once caches and fonts have settled.
    void sampleMemory(bool last)
    {
        if (m_done % kMemoryEvery != 0 && !last)
            return;
        const double mb = residentMb();
        m_memory[0] = m_memory[0] < 0 ? mb : m_memory[0];
        m_memory[1] = m_done == kMemoryWarmUp ? mb : m_memory[1];
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
            m_tally = QJsonDocument::fromJson(m_writer.readAllStandardOutput()).object();
            if (!stopped || m_tally.isEmpty())
                m_failures << QStringLiteral("the writer did not stop cleanly and say what it did");
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
        check(m_memory[1] < 0 || m_memory[2] - m_memory[1] <= kMaxGrowthMb,
              QString::asprintf("VmRSS grew from %.1f to %.1f MB after warm-up", m_memory[1], m_memory[2]));
        check(m_done < m_options.operations || writer("inserts") + writer("deletes") > 0,
              QStringLiteral("the writer wrote nothing, so nothing ran beside the window"));
        // A write that failed waited out the busy timeout: the window held the notebook too long.
        check(writer("failures") == 0, "the writer could not write: " + writerFailures());
        check(writer("missing") == 0,
              QStringLiteral("pairs of the writer's were gone before it deleted them"));
        try {
            m_integrity = m_raw.firstRow(QStringLiteral("pragma integrity_check")).value(0);
            check(m_integrity == QLatin1String("ok"), "pragma integrity_check says: " + m_integrity);
            m_finalRows = m_raw.number(Statements::kTotalCount);
            m_writerRows = m_raw.number(Statements::kSearchCount, {kWriterPrefix + '%'});
        } catch (const std::exception& error) {
            m_failures << QStringLiteral("checking the file: ") + error.what();
        }
        // A run stopped half way may have left an operation's tally short; its own failure says what.
        check(m_done < m_options.operations || m_finalRows == expectedRows(),
              QString::asprintf("the file holds %lld pairs, expected %lld", m_finalRows, expectedRows()));
        check(m_done < m_options.operations || m_writerRows == writerNet(),
              QString::asprintf("the file holds %lld of the writer's pairs, expected %d", m_writerRows,
                                writerNet()));
    }

    int writer(const char* field) const { return m_tally[QLatin1String(field)].toInt(); }
    int writerNet() const { return writer("inserts") - writer("deletes"); }
    QString writerFailures() const { return m_tally["failureTexts"].toVariant().toStringList().join("; "); }
    qint64 expectedRows() const { return m_startRows + m_registered - m_deleted + writerNet(); }

    void report() const
    {
        QStringList kinds;
        for (int kind = 0; kind < kKinds; ++kind)
            kinds << QStringLiteral("%1 %2").arg(kKindNames[kind]).arg(m_byKind[kind]);
        const QString growth = m_memory[1] < 0 ? QStringLiteral("too few operations to measure growth")
                                               : QString::asprintf("after warm-up %.1f MB, growth %.1f MB",
                                                                   m_memory[1], m_memory[2] - m_memory[1]);
        std::printf(
            "Soak: %d of %d operations on %d pairs, seed %llu\n"
            "  Machine      %s\n"
            "  Operations   %s\n"
            "  Elapsed      %.1f s, %.1f operations/s\n"
            "  Writer       %d writes (%d inserts, %d deletes), %d failures%s, %d of its pairs gone before "
            "it deleted them\n"
            "  Journal      -journal max %.1f KB (present in %d of %d samples); -wal max %.1f KB (present in "
            "%d)\n"
            "  Memory       VmRSS first %.1f MB, last %.1f MB, max %.1f MB; %s\n"
            "  Lists        %d checked against the count and the file, %d checked again after the writer "
            "wrote (first: %s); %lld cells read in view\n"
            "  Searches     %d without a hit\n"
            "  Integrity    %s\n"
            "  Pairs        %lld + %lld registered - %lld deleted + (%d) by the writer = %lld; the file "
            "holds "
            "%lld, %lld of them the writer's\n",
            m_done, m_options.operations, m_options.pairs, m_options.seed, qPrintable(machine()),
            qPrintable(kinds.join(", ")), m_seconds, m_seconds > 0 ? m_done / m_seconds : 0,
            writer("inserts") + writer("deletes"), writer("inserts"), writer("deletes"), writer("failures"),
            qPrintable(writerFailures().prepend(writer("failures") ? ": " : "")), writer("missing"),
            m_maxJournal[0] / 1024.0, m_journalSeen[0], m_done, m_maxJournal[1] / 1024.0, m_journalSeen[1],
            m_memory[0], m_memory[2], m_memory[3], qPrintable(growth), m_listsChecked, m_rechecks,
            qPrintable(m_recheckExamples.join("; ")), m_cellsRead, m_noHitSearches, qPrintable(m_integrity),
            m_startRows, m_registered, m_deleted, writerNet(), expectedRows(), m_finalRows, m_writerRows);
        for (const QString& failure : m_failures)
            std::printf("FAIL: %s\n", qPrintable(failure));
        if (m_failures.isEmpty())
            std::printf("Verdict: PASS\n");
        else
            std::printf("Verdict: FAIL (again with: scripts/soak --pairs %d --operations %d --seed %llu; the "
                        "notebook is kept at %s)\n",
                        m_options.pairs, m_options.operations, m_options.seed, qPrintable(m_notebook));
    }

    // The list the window shows as the soak last loaded it: its button, the searched text when Search made
    // it, and where the writer stood just before it was loaded.
    struct Shown {
        const char* button = "Command3";
        QString search;
        quint64 since = 0;
    };

    Options m_options;
    QString m_notebook;
    Words m_random;
    Raw m_raw;
    std::unique_ptr<FormDriver> m_form;
    QTemporaryDir m_folder;
    QFile m_progressFile;
    std::atomic<quint64>* m_progress = nullptr;
    QProcess m_writer;
    QElapsedTimer m_clock;
    QJsonObject m_tally;
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

// The soak's second process: every 20 to 200 ms a Connection of the store's own inserts a pair or deletes
// one of its own, until its standard input closes (the soak has finished, or gone); then its tally as JSON.
int runWriter(const Options& options)
{
    QFile file(options.paths.value("progress"));
    std::atomic<quint64>* counters = progress(file, false);
    Words random(options.seed);
    const pid_t parent = getppid();
    std::vector<QVariantList> own;
    int serial = 0, inserts = 0, deletes = 0, failures = 0, missing = 0;
    QStringList failureTexts;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    char byte = 0;
    // Anything on standard input, its end included, means stop.
    while (!(poll(&input, 1, 20 + int(random.below(181))) > 0 && read(STDIN_FILENO, &byte, 1) >= 0) &&
           getppid() == parent) {
        ++counters[0];
        try {
            // A connection per write, as a copy of the program opens one per command. Its own pairs stay
            // few, so they never crowd the top of the newest-first list the soak deletes from.
            Connection connection(options.paths.value("writer"));
            if (own.empty() || (own.size() < 32 && random.below(2) == 0)) {
                ++serial;
                const QVariantList pair{kWriterPrefix + QString::number(serial),
                                        QStringLiteral("ライター%1").arg(serial)};
                connection.execute(Statements::kInsert,
                                   QVariantList{UpDay::format(QDateTime::currentDateTime())} + pair);
                own.push_back(pair);
                ++inserts;
            } else {
                const auto which = own.begin() + std::ptrdiff_t(random.below(own.size()));
                ++(connection.execute(Statements::kDelete, *which)->numRowsAffected() == 1 ? deletes
                                                                                           : missing);
                own.erase(which);
            }
        } catch (const StoreError& error) {
            if (++failures <= 5)
                failureTexts << error.engineText();
        }
        ++counters[1];
    }
    const QJsonObject tally{{"inserts", inserts},
                            {"deletes", deletes},
                            {"failures", failures},
                            {"missing", missing},
                            {"failureTexts", QJsonArray::fromStringList(failureTexts)}};
    std::fputs(QJsonDocument(tally).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
