#include "Soak.h"

#include "EndChecks.h"
#include "FormDriver.h"
#include "ListCheck.h"
#include "NotebookCache.h"
#include "Statements.h"
#include "Writer.h"
#include "WriterProcess.h"

#include <QTableView>

#include <cstdio>
#include <stdexcept>

namespace {
const QString kRegistered = QStringLiteral("登録しました");
const QString kDeleteQuestion = QStringLiteral("選択中のレコードを削除しますか");
const QString kNoHit = QStringLiteral("該当するデータがありません");

// A list upset by the writer is loaded again; a writer this slow (a write every 20 to 200 ms) cannot
// upset this many loads in a row.
constexpr int kRechecks = 10;
constexpr int kRecheckExamples = 3;
// Delete picks one of the first rows of the list that are not the writer's.
constexpr size_t kDeleteAmong = 8;
constexpr int kDeleteLooksAt = 64;
constexpr int kMemoryEvery = 500;
constexpr int kMemoryWarmUp = 1000;
constexpr int kProgressEvery = 1000;
// The soak's own reads wait far longer than the window's, so a lock is reported by the window, never
// by a check of the soak's.
constexpr int kCheckBusyMs = 30000;
// The writer draws from a sequence of its own.
constexpr quint64 kWriterSeed = 0x57a1e5eedULL;

void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

QString pairText(const QVariantList& pair)
{
    return QStringLiteral("\"%1\" / \"%2\"").arg(pair.value(0).toString(), pair.value(1).toString());
}
} // namespace

Soak::Soak(const SoakOptions& options)
    : m_options(options)
    , m_notebook(NotebookCache(options.cache).workingCopy(options.pairs, QStringLiteral("soak")))
    , m_random(options.seed)
    , m_raw(m_notebook, kCheckBusyMs)
    , m_journal(m_notebook)
    , m_memory(kMemoryEvery, kMemoryWarmUp)
{
    m_figures.notebook = m_notebook;
    m_figures.pairs = options.pairs;
    m_figures.operations = options.operations;
    m_figures.seed = options.seed;
}

Soak::~Soak() = default;

SoakFigures Soak::run()
{
    try {
        start();
        m_clock.start();
        runOperations();
    } catch (const std::exception& error) {
        m_figures.failures << QString::fromUtf8(error.what());
    }
    m_figures.seconds = m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0;
    finish();
    return m_figures;
}

void Soak::start()
{
    m_figures.startRows = m_raw.number(Statements::kTotalCount);
    require(m_figures.startRows == m_options.pairs, QStringLiteral("the working copy holds %1 pairs, not %2")
                                                        .arg(m_figures.startRows)
                                                        .arg(m_options.pairs));
    m_memory.after(0);
    m_form = std::make_unique<FormDriver>(m_notebook);
    m_check = std::make_unique<ListCheck>(*m_form, m_raw);
    m_shown = Shown{};
    settle([this] { reload(); }, [this] { return wholeTableProblem(); });
    m_writer = std::make_unique<WriterProcess>(m_notebook, m_options.seed ^ kWriterSeed);
}

void Soak::runOperations()
{
    while (m_figures.done < m_options.operations) {
        const Operation operation = Operations::pick(m_random);
        try {
            operate(operation);
        } catch (const std::exception& error) {
            throw std::runtime_error(
                QStringLiteral("operation %1 (%2): %3")
                    .arg(m_figures.done + 1)
                    .arg(QLatin1String(Operations::name(operation)), QString::fromUtf8(error.what()))
                    .toStdString());
        }
        ++m_figures.byKind[size_t(Operations::index(operation))];
        ++m_figures.done;
        m_journal.sample();
        m_memory.after(m_figures.done);
        if (m_figures.done % kProgressEvery == 0)
            std::fprintf(stderr, "  %6d operations  %6.1f s  VmRSS %5.1f MB  -journal max %lld B\n",
                         m_figures.done, double(m_clock.elapsed()) / 1000.0, m_memory.last(),
                         m_journal.maxJournal());
    }
}

void Soak::operate(Operation operation)
{
    switch (operation) {
    case Operation::Register:
        return registerPair();
    case Operation::Delete:
        return deletePair();
    case Operation::Normal:
        return showList("Command3");
    case Operation::Alphabet:
        return showList("Command4");
    case Operation::Date:
        return showList("Command6");
    case Operation::Search:
        return search();
    case Operation::Jump:
        return jump();
    case Operation::End:
        return toEnd();
    case Operation::PageDown:
        return pageDown();
    }
}

void Soak::finish()
{
    m_memory.after(m_figures.done, true);
    try {
        if (m_writer)
            m_figures.writer = m_writer->stop();
    } catch (const std::exception& error) {
        m_figures.failures << QString::fromUtf8(error.what());
    }
    m_writer.reset();
    if (m_check) {
        m_figures.listsChecked = m_check->listsChecked();
        m_figures.cellsRead = m_check->cellsRead();
    }
    m_check.reset();
    m_form.reset();
    m_figures.maxJournal = m_journal.maxJournal();
    m_figures.journalSeen = m_journal.journalSeen();
    m_figures.maxWal = m_journal.maxWal();
    m_figures.walSeen = m_journal.walSeen();
    m_figures.residentFirst = m_memory.first();
    m_figures.residentBaseline = m_memory.warmedUp() ? m_memory.baseline() : -1;
    m_figures.residentLast = m_memory.last();
    m_figures.residentMax = m_memory.largest();
    EndChecks::gauges(m_figures);
    try {
        EndChecks::file(m_figures, m_raw);
    } catch (const std::exception& error) {
        m_figures.failures << QStringLiteral("checking the file: ") + QString::fromUtf8(error.what());
    }
}

void Soak::registerPair()
{
    ++m_serial;
    const QVariantList pair{QStringLiteral("Soak-%1").arg(m_serial),
                            QStringLiteral("ソーク%1").arg(m_serial)};
    m_form->setText("Text1", pair[0].toString());
    m_form->setText("Text2", pair[1].toString());
    wholeTableAfter("Command3", [this, pair] {
        press("Command1");
        expectMessages({kRegistered});
        require(m_form->text("Text1").isEmpty() && m_form->text("Text2").isEmpty(),
                QStringLiteral("Register left its texts in the boxes"));
        require(m_check->pairCount(pair) == 1,
                QStringLiteral("the file does not hold %1 once").arg(pairText(pair)));
        ++m_figures.registered;
    });
}

void Soak::deletePair()
{
    const int row = rowToDelete();
    QTableView* list = m_form->list();
    list->scrollTo(list->model()->index(row, 0));
    m_form->paint();
    m_form->clickRow(row);
    m_form->paint();
    require(list->currentIndex().row() == row,
            QStringLiteral("a click on row %1 did not select it").arg(row));
    const QVariantList pair = m_check->pairAt(row);
    const qint64 stored = m_check->pairCount(pair);
    require(stored > 0,
            QStringLiteral("row %1 shows %2, which the file does not hold").arg(row).arg(pairText(pair)));
    m_form->messages().answerNext(MessageBox::Answer::Yes);
    wholeTableAfter("Command3", [this, pair, stored] {
        press("Command2");
        expectMessages({kDeleteQuestion});
        require(m_check->pairCount(pair) == 0, QStringLiteral("%1 is still in the file").arg(pairText(pair)));
        m_figures.deleted += stored;
    });
}

void Soak::showList(const char* button)
{
    wholeTableAfter(button, [this, button] { press(button); });
}

void Soak::search()
{
    const Shown before = m_shown;
    m_shown = Shown{"Command5", searchText(), writerMark()};
    m_form->setText("Text3", m_shown.search);
    press("Command5");
    bool hit = true;
    settle([this] { reload(); }, [this, &hit] { return searchProblem(&hit); });
    if (!hit) {
        // The list stays as it was.
        m_shown = before;
        ++m_figures.noHitSearches;
    }
}

void Soak::jump()
{
    if (rows() == 0)
        return;
    const int row = int(m_random.below(quint64(rows())));
    scrolled([this, row] { m_form->showRowAtBottom(std::min(row, rows() - 1)); });
}

void Soak::toEnd()
{
    scrolled([this] {
        m_form->key(Qt::Key_End, Qt::ControlModifier);
        require(m_form->list()->currentIndex().row() == rows() - 1,
                QStringLiteral("Ctrl+End did not reach the last row"));
    });
}

void Soak::pageDown()
{
    scrolled([this] {
        const int before = m_form->list()->currentIndex().row();
        m_form->key(Qt::Key_PageDown);
        const int after = m_form->list()->currentIndex().row();
        require(after > before || after == rows() - 1,
                QStringLiteral("PageDown went from row %1 to row %2").arg(before).arg(after));
    });
}

void Soak::wholeTableAfter(const char* button, const std::function<void()>& action)
{
    m_shown = Shown{button, {}, writerMark()};
    action();
    settle([this] { reload(); }, [this] { return wholeTableProblem(); });
}

void Soak::scrolled(const std::function<void()>& scroll)
{
    scroll();
    settle(
        [this, scroll] {
            reload();
            takeMessages(m_shown.search.isEmpty() ? QStringList() : QStringList{kNoHit});
            scroll();
        },
        [this] { return m_check->cellsProblem(); });
    m_form->paint();
}

void Soak::settle(const std::function<void()>& again, const std::function<QString()>& problem)
{
    for (int attempt = 0;; ++attempt) {
        const QString found = problem();
        if (found.isEmpty())
            return;
        require(m_writer && m_writer->progress().wroteSince(m_shown.since), found);
        require(attempt < kRechecks,
                found + QStringLiteral(" (still, after %1 loads while the writer wrote)").arg(kRechecks));
        if (m_figures.rechecks++ < kRecheckExamples)
            m_figures.recheckExamples << found;
        again();
    }
}

void Soak::reload()
{
    m_shown.since = writerMark();
    if (!m_shown.search.isEmpty())
        m_form->setText("Text3", m_shown.search);
    press(m_shown.button);
}

QString Soak::wholeTableProblem()
{
    expectMessages({});
    return m_check->listProblem(m_check->tableCount());
}

QString Soak::searchProblem(bool* hit)
{
    const QStringList shown = takeMessages({kNoHit});
    require(shown.size() <= 1, QStringLiteral("Search showed %1 boxes").arg(shown.size()));
    const qint64 stored = m_check->searchCount(m_shown.search);
    *hit = shown.isEmpty();
    if (*hit) {
        return stored > 0 ? m_check->listProblem(stored)
                          : QStringLiteral("Search listed hits for \"%1\", which the file does not hold")
                                .arg(m_shown.search);
    }
    require(m_form->text("Text3").isEmpty(), QStringLiteral("Search without a hit left its text in the box"));
    return stored == 0 ? QString()
                       : QStringLiteral("Search found no hit for \"%1\" but the file holds %2")
                             .arg(m_shown.search)
                             .arg(stored);
}

int Soak::rowToDelete()
{
    std::vector<int> candidates;
    for (int attempt = 0; attempt < 2 && candidates.empty(); ++attempt) {
        // The writer's pairs are its own to delete; a list of nothing else starts the newest-first list.
        if (attempt > 0)
            showList("Command3");
        const int looked = std::min(rows(), kDeleteLooksAt);
        for (int row = 0; row < looked && candidates.size() < kDeleteAmong; ++row) {
            if (!m_check->pairAt(row).value(0).toString().startsWith(Writer::kPrefix))
                candidates.push_back(row);
        }
    }
    require(!candidates.empty(), QStringLiteral("no row to delete near the top of the list"));
    return candidates[size_t(m_random.below(candidates.size()))];
}

QString Soak::searchText()
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

void Soak::press(const char* button)
{
    m_form->click(button);
    m_form->paint();
}

quint64 Soak::writerMark() const
{
    return m_writer ? m_writer->progress().mark() : 0;
}

QStringList Soak::takeMessages(const QStringList& allowed)
{
    const QStringList shown = m_form->messages().takeTexts();
    for (const QString& text : shown)
        require(allowed.contains(text), QStringLiteral("a message box said: ") + oneLine(text));
    require(m_form->messages().unexpected().isEmpty(),
            QStringLiteral("a question came with no answer: ") +
                m_form->messages().unexpected().join(QLatin1Char(' ')));
    require(m_form->messages().pendingAnswers() == 0,
            QStringLiteral("an answer was left for a question never asked"));
    return shown;
}

void Soak::expectMessages(const QStringList& texts)
{
    const QStringList shown = takeMessages(texts);
    require(shown == texts, QStringLiteral("the message boxes were [%1], expected [%2]")
                                .arg(shown.join(QStringLiteral(" | ")), texts.join(QStringLiteral(" | "))));
}

int Soak::rows() const
{
    return m_form->list()->model()->rowCount();
}
