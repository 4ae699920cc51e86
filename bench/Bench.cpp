#include "Kit.h"

#include <QCoreApplication>
#include <QProcess>
#include <QScrollBar>
#include <QSet>

#include <algorithm>

namespace {
using Action = std::function<void()>;
using Statements::kNormalList;

// One side of a figure: what comes before each run untimed, the timed action, and the check after it.
struct Side {
    Action setup = {}, action = {}, check = {};
};

struct Figure {
    QString id, label;
    double window = -1, rawNew = -1, before = -1;
};

double median(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs.empty() ? -1 : (runs[(runs.size() - 1) / 2] + runs[runs.size() / 2]) / 2;
}

// The statements the product's code wrote: not the engine's own (capitals, comments), nor index checks.
QSet<QString> ownStatements(const QStringList& ran)
{
    QSet<QString> own;
    for (const QString& sql : ran) {
        const bool ours = sql.startsWith(QLatin1String("select ")) ||
                          sql.startsWith(QLatin1String("insert ")) ||
                          sql.startsWith(QLatin1String("delete "));
        if (ours && !sql.contains(QLatin1String("sqlite_master")))
            own << sql;
    }
    return own;
}

// Every command on one notebook, the window beside raw SQLite; every run is checked.
class SizeBench {
public:
    SizeBench(const QString& path, int size, int runs)
        : m_path(path)
        , m_size(size)
        , m_runs(runs)
        , m_raw(path)
    {}

    int run()
    {
        require(m_raw.number(Statements::kTotalCount) == m_size,
                QStringLiteral("the notebook's size is wrong"));
        lists();
        writes();
        searches();
        scrolling();
        return report();
    }

private:
    // Sides take turns run by run, so a machine slowing down does so for all; the first round warms up.
    void record(const QString& id, const QString& label, const Side& window, const Side& raw = {},
                const Side& before = {})
    {
        std::fprintf(stderr, "  %-8d %s\n", m_size, qPrintable(label));
        const Side* sides[] = {&window, &raw, &before};
        std::vector<double> times[3];
        QStringList ran[2];
        for (int run = 0; run <= m_runs; ++run) {
            for (int side = 0; side < 3; ++side) {
                if (!sides[side]->action)
                    continue;
                if (sides[side]->setup)
                    sides[side]->setup();
                if (m_form)
                    settle();
                if (side < 2)
                    ran[side].clear();
                recording = side < 2 ? &ran[side] : nullptr;
                const double ms = milliseconds(sides[side]->action);
                recording = nullptr;
                if (sides[side]->check)
                    sides[side]->check();
                if (run > 0)
                    times[side].push_back(ms);
            }
        }
        if (ownStatements(ran[0]) != ownStatements(ran[1])) {
            m_broken << id;
            std::fprintf(stderr, "BROKEN %s: the window ran other statements than raw\n", qPrintable(id));
        }
        m_figures.push_back({id, label, median(times[0]), median(times[1]), median(times[2])});
    }

    DataGrid* grid() const { return m_form->grid("DataGrid1"); }
    qint64 stored(const QVariantList& pair) { return m_raw.number(Statements::kCheckPairList.plain(), pair); }

    // The window shows these boxes, a list of `rows` rows and their count.
    Action shows(const QStringList& messages, qint64 rows, int columns = 2)
    {
        return [this, messages, rows, columns] {
            expectMessages(*m_form, messages);
            require(
                shownCount(*m_form) == rows && grid()->model()->rowCount() == rows,
                QStringLiteral("the list's rows or count (%1) are not %2").arg(m_form->count()).arg(rows));
            require(grid()->model()->columnCount() == columns,
                    QStringLiteral("the list's columns are wrong"));
        };
    }

    void lists()
    {
        const Side startUp{[this] { m_form.reset(); }, [this] { m_form = openWindow(m_path); },
                           shows({}, m_size)};
        record("startup", "Start-up to the list painted", startUp,
               {{}, [this] { rawWholeList(m_path, kNormalList); }});
        m_view = grid()->rowAt(grid()->viewport()->height() - 1) - grid()->rowAt(0) + 1;
        const auto list = [this](const char* id, const char* label, const char* before, const char* button,
                                 const Statements::List& statement, int columns) {
            record(id, label,
                   {[this, before] { press(*m_form, before); }, [this, button] { press(*m_form, button); },
                    shows({}, m_size, columns)},
                   {{}, [this, statement] { rawWholeList(m_path, statement); }});
        };
        list("normal", "Normal (after Alphabet)", "Command4", "Command3", kNormalList, 2);
        list("alphabet", "Alphabet (after Normal)", "Command3", "Command4", Statements::kAlphabetList, 2);
        list("date", "Date (after Normal)", "Command3", "Command6", Statements::kDateList, 3);
    }

    void writes()
    {
        // Uppercase and a hyphen: no generated word looks like this, so no pair collides.
        const Action newPair = [this] {
            m_pair = {QStringLiteral("Bench-%1").arg(++m_serial), QStringLiteral("ベンチ%1").arg(m_serial)};
        };
        const Action gone = [this] {
            require(stored(m_pair) == 0 && m_raw.number(Statements::kTotalCount) == m_size,
                    QStringLiteral("the pair stayed in the notebook"));
        };
        // The window's own Delete takes the pair away, so each run grows the list as a learner's does.
        const Side window{[this, newPair] {
                              newPair();
                              m_form->clock.moment = QDateTime::currentDateTime();
                              m_form->text("Text1")->setFocus();
                              m_form->type(m_pair[0].toString(), m_pair[1].toString());
                          },
                          [this] { press(*m_form, "Command1"); },
                          [this, gone] {
                              shows({kRegistered}, m_size + 1)();
                              require(stored(m_pair) == 1 && cell(*m_form, 0, 0) == m_pair[0],
                                      QStringLiteral("the new pair is not stored and on top"));
                              m_form->selectRows({0});
                              m_form->messages.answerNext(MessageBox::Answer::Yes);
                              press(*m_form, "Command2");
                              shows({kDeleteQuestion}, m_size)();
                              gone();
                          }};
        const Side raw{newPair,
                       [this] {
                           Raw(m_path).result(Statements::kCheckPairList, m_pair);
                           Raw(m_path).read(Statements::kInsert,
                                            QVariantList{UpDay::format(QDateTime::currentDateTime())} +
                                                m_pair);
                           rawWholeList(m_path, kNormalList);
                       },
                       [this, gone] {
                           require(stored(m_pair) == 1, QStringLiteral("the raw insert stored nothing"));
                           m_raw.read(Statements::kDelete, m_pair);
                           gone();
                       }};
        record("register", "Register (a new pair)", window, raw);

        const QVariantList first =
            m_raw.read(QStringLiteral("select English, Japanese from wordDB limit 1"))[0];
        record("duplicate", "Register (a duplicate)",
               {[this, first] { m_form->type(first[0].toString(), first[1].toString()); },
                [this] { press(*m_form, "Command1"); },
                [this, gone] {
                    expectMessages(*m_form, {kDuplicate});
                    m_pair = {};
                    require(m_raw.number(Statements::kTotalCount) == m_size,
                            QStringLiteral("a pair was added"));
                }},
               {{}, [this, first] { Raw(m_path).result(Statements::kCheckPairList, first); }});

        // The pair to delete is added outside the timing, newest of all, so it is the top row.
        const Action addNewest = [this, newPair] {
            newPair();
            m_raw.read(Statements::kInsert, QVariantList{QStringLiteral("2099/12/31 23:59:59")} + m_pair);
        };
        record("delete", "Delete (top row, Yes)",
               {[this, addNewest] {
                    addNewest();
                    press(*m_form, "Command3");
                    m_form->selectRows({0});
                    m_form->messages.answerNext(MessageBox::Answer::Yes);
                },
                [this] { press(*m_form, "Command2"); },
                [this, gone] {
                    shows({kDeleteQuestion}, m_size)();
                    gone();
                }},
               {addNewest,
                [this] {
                    Raw(m_path).read(Statements::kDelete, m_pair);
                    rawWholeList(m_path, kNormalList);
                },
                gone});
    }

    void searches()
    {
        // A "q" not followed by "u" is only in a few coined words.
        const QString rare =
            m_raw
                .read(QStringLiteral("select substr(English, instr(English, 'q') - 1, 5) from "
                                     "wordDB where instr(English, 'q') > 1 and substr(English, "
                                     "instr(English, 'q') + 1, 1) <> 'u' and length(English) >= "
                                     "instr(English, 'q') + 3 order by rowid limit 1"))[0][0]
                .toString();
        search("search1", "1 letter", QStringLiteral("e"));
        search("search2", "2 letters, common", QStringLiteral("an"));
        search("search3common", "3 letters, common", QStringLiteral("ing"));
        search("search3rare", "3 letters, rare", rare.left(3));
        search("search5rare", "5 letters, rare", rare);
        search("searchnone", "no hit", QStringLiteral("zzqx"));
    }

    void search(const QString& id, const QString& what, const QString& text)
    {
        const bool indexed = text.size() >= SearchIndex::kMinimumLength;
        const SearchIndex::Query scan = SearchIndex::count(text, false);
        const qint64 hits = m_raw.number(scan.statement.plain(), scan.values);
        require((hits == 0) == (id == QLatin1String("searchnone")),
                "\"" + text + "\" has no hit, or has one");
        const Side window{[this, text] {
                              press(*m_form, "Command3");
                              m_form->text("Text3")->setText(text);
                          },
                          [this] { press(*m_form, "Command5"); },
                          [this, hits, text] {
                              shows(hits > 0 ? QStringList() : QStringList{kNoHit},
                                    hits > 0 ? hits : m_size)();
                              require(hits == 0 || cell(*m_form, 0, 0).contains(text, Qt::CaseInsensitive),
                                      QStringLiteral("the top row is not a hit"));
                          }};
        // As the window runs it: the count; with hits, the list (their number known), then the table's count.
        const auto rawSearch = [this, text](bool throughIndex, bool walkable) {
            return Side{{}, [this, text, throughIndex, walkable] {
                            const SearchIndex::Query count = SearchIndex::count(text, throughIndex);
                            const qint64 found =
                                Raw(m_path).result(count.statement, count.values)[0][0].toLongLong();
                            if (found == 0)
                                return;
                            const bool walks = walkable && SearchIndex::walks(found, m_size);
                            const SearchIndex::Query list = SearchIndex::list(text, throughIndex && !walks);
                            Raw(m_path).result(list.statement, list.values, found);
                            Raw(m_path).result(Statements::kTotalCountList, {});
                        }};
        };
        record(id, QStringLiteral("Search, %1 (\"%2\", %3 hits)").arg(what, text).arg(hits), window,
               rawSearch(indexed, true), rawSearch(false, false));
    }

    QVariantList keyOf(int row)
    {
        return m_raw.read(kNormalList.page(Direction::WithTheList, From::TheStart), {1, row})[0].mid(2);
    }

    Side offsetRead(int first)
    {
        return {{}, [this, first] {
                    m_raw.read(kNormalList.page(Direction::WithTheList, From::TheStart), {kPage, first});
                }};
    }

    // A key pressed on the Normal list with row `from` at the view's bottom (top); `expected` then in view.
    Side key(int key, int from, bool top, int expected)
    {
        return {[this, from, top] {
                    press(*m_form, "Command3");
                    const QModelIndex index = grid()->model()->index(from, 0);
                    grid()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
                    grid()->scrollTo(index, top ? QAbstractItemView::PositionAtTop
                                                : QAbstractItemView::PositionAtBottom);
                },
                [this, key] {
                    QTest::keyClick(grid(), Qt::Key(key),
                                    key == Qt::Key_End ? Qt::ControlModifier : Qt::NoModifier);
                    settle();
                },
                [this, expected] { inView(expected); }};
    }

    // The row must be in view and show what the file holds there.
    void inView(int row)
    {
        require(grid()->rowAt(0) <= row && row <= grid()->rowAt(grid()->viewport()->height() - 1),
                QStringLiteral("row %1 is not in view").arg(row));
        const QVariantList held =
            m_raw.read(kNormalList.page(Direction::WithTheList, From::TheStart), {1, row})[0];
        require(cell(*m_form, row, 0) == held[0].toString() && cell(*m_form, row, 1) == held[1].toString(),
                QStringLiteral("row %1 shows other texts than the file holds").arg(row));
    }

    void scrolling()
    {
        const int lastPage = (m_size - 1) / kPage * kPage;
        const int inLast = m_size - lastPage;
        // The last page is read back from the end; a view longer than it needs the page before as well.
        record("jump", "Jump to the end (Ctrl+End)", key(Qt::Key_End, 0, false, m_size - 1),
               {{},
                [this, inLast] {
                    const Table last =
                        m_raw.read(kNormalList.page(Direction::AgainstTheList, From::TheStart), {inLast, 0});
                    if (m_view > inLast)
                        m_raw.read(kNormalList.page(Direction::AgainstTheList, From::AKey),
                                   Statements::List::keyValues(last.constLast().mid(2)) +
                                       QVariantList{kPage, 0});
                }},
               offsetRead(lastPage));
        m_figures.push_back({"memory", "Resident memory after the jump (VmRSS, MB)", residentMb()});
        record("pagedowntop", "Page down, from the top", key(Qt::Key_PageDown, 0, false, m_view));
        // A view just above (below) an unread page in the middle: read on from a held page's edge key.
        const int middle = m_size / 2 / kPage * kPage;
        const QVariantList above = keyOf(middle - 1);
        const QVariantList below = keyOf(middle + kPage);
        record("pagedownmid", "Page down, mid-list into an unread page",
               key(Qt::Key_PageDown, middle - 3, false, middle + 2),
               {{},
                [this, above] {
                    m_raw.read(kNormalList.page(Direction::WithTheList, From::AKey),
                               Statements::List::keyValues(above) + QVariantList{kPage, 0});
                }},
               offsetRead(middle));
        record("pageupmid", "Page up, mid-list into an unread page",
               key(Qt::Key_PageUp, middle + kPage + 3, true, middle + kPage - 2),
               {{},
                [this, below] {
                    m_raw.read(kNormalList.page(Direction::AgainstTheList, From::AKey),
                               Statements::List::keyValues(below) + QVariantList{kPage, 0});
                }},
               offsetRead(middle));
        // A few rows into a page at 70 %, so the view needs that page alone: nearer the end than the top.
        const int dragged = m_size * 7 / 10 / kPage * kPage + 8;
        const int page = dragged / kPage * kPage;
        record("drag", "Scroll-bar drag to 70 %",
               {[this] { press(*m_form, "Command3"); },
                [this, dragged] {
                    grid()->verticalScrollBar()->setValue(dragged);
                    settle();
                },
                [this, dragged] { inView(dragged + 1); }},
               {{},
                [this, page] {
                    m_raw.read(kNormalList.page(Direction::AgainstTheList, From::TheStart),
                               {kPage, m_size - page - kPage});
                }},
               offsetRead(page));
    }

    QString verdict(const Figure& figure) const
    {
        static const QStringList replacing = {"search3common", "search3rare", "search5rare", "searchnone",
                                              "jump",          "pagedownmid", "drag"};
        const bool shortSearch =
            figure.id == QLatin1String("search1") || figure.id == QLatin1String("search2");
        QStringList misses;
        if (figure.id == QLatin1String("memory")) {
            if (m_size != 1000000)
                return QStringLiteral("—");
            return figure.window <= 60 ? QStringLiteral("pass") : QStringLiteral("FAIL (> 60 MB)");
        }
        if (m_size == 1000000 && shortSearch)
            return QStringLiteral("— (no target)");
        if ((m_size == 100000 || m_size == 1000000) && figure.window > 16)
            misses << QStringLiteral("> 16 ms");
        if (m_size == 1000000 && figure.rawNew > 0 && figure.window > 3 * figure.rawNew)
            misses << QStringLiteral("%1 × raw new").arg(figure.window / figure.rawNew, 0, 'f', 1);
        if (m_size == 1000000 && replacing.contains(figure.id) && figure.window > figure.before / 10)
            misses << QStringLiteral("1/%1 of before").arg(figure.before / figure.window, 0, 'f', 1);
        if (m_size != 100000 && m_size != 1000000)
            return QStringLiteral("—");
        return misses.isEmpty() ? QStringLiteral("pass") : QStringLiteral("FAIL (") + misses.join(", ") + ')';
    }

    int report() const
    {
        const auto number = [](double ms) {
            return ms < 0 ? QStringLiteral("—") : QString::number(ms, 'f', ms < 10 ? 2 : 1);
        };
        std::printf("\n### %d pairs\n\n| Command | Tessimor | raw new | raw before | Verdict |\n"
                    "| --- | ---: | ---: | ---: | --- |\n",
                    m_size);
        int passed = 0;
        int failed = 0;
        for (const Figure& figure : m_figures) {
            const QString verdict = this->verdict(figure);
            passed += verdict == QLatin1String("pass");
            failed += verdict.startsWith(QLatin1String("FAIL"));
            std::printf("| %s | %s | %s | %s | %s |\n", qPrintable(figure.label),
                        qPrintable(number(figure.window)), qPrintable(number(figure.rawNew)),
                        qPrintable(number(figure.before)), qPrintable(verdict));
        }
        std::printf("\nSummary at %d pairs: %d pass, %d FAIL; broken checks: %s\n", m_size, passed, failed,
                    m_broken.isEmpty() ? "none" : qPrintable(m_broken.join(", ")));
        return m_broken.isEmpty() ? 0 : 1;
    }

    QString m_path;
    int m_size;
    int m_runs;
    int m_view = 0;
    int m_serial = 0;
    Raw m_raw;
    QVariantList m_pair;
    std::unique_ptr<FormDriver> m_form;
    std::vector<Figure> m_figures;
    QStringList m_broken;
};
} // namespace

int measureSize(const QString& notebook, int size, int runs)
{
    return SizeBench(notebook, size, runs).run();
}

// Each size in a process of its own, so its memory holds nothing of the sizes before it.
int runBenchmark(const QStringList& sizes, int runs, const QString& cache)
{
    int status = 0;
    for (const QString& size : sizes) {
        const QString notebook = workingCopy(cache, size.toInt(), QStringLiteral("working"));
        const int code =
            QProcess::execute(QCoreApplication::applicationFilePath(),
                              {"--measure", notebook, "--sizes", size, "--runs", QString::number(runs)});
        status = std::max(status, code == 0 ? 0 : 1);
        QFile::remove(notebook);
    }
    return status;
}
