#include "Kit.h"

#include <QEvent>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>

namespace {
using Action = std::function<void()>;
constexpr int kPage = PagedResult::kPageSize;
const QString kPaged = Statements::kPage;

// The statements as the store ran them before the trigram index, keyset pages and one count a view, run
// beside the new ones so that each ratio is read off one run.
namespace Before {
const QString kNormalList = QStringLiteral("select English,Japanese from wordDB order by UpDay Desc");
const QString kAlphabetList = QStringLiteral("select English,Japanese from wordDB order by English");
const QString kDateList = QStringLiteral("select * from wordDB order by UpDay Desc");
const QString kPairMatch = QStringLiteral(" where English = ? and Japanese = ?");
const QString kCheckPair = QStringLiteral("select count(*) as DataCnt from wordDB") + kPairMatch;
const QString kDelete = QStringLiteral("delete from wordDB") + kPairMatch;
const QString kSearchHits = QStringLiteral(
    "select rowid,English,Japanese from wordDB where English like ? escape '\\' order by UpDay Desc");
} // namespace Before

// One side of a figure: what comes before each run untimed, the timed action, and the check after it.
struct Step {
    Action setup = {}, action = {}, check = {};
    // Whether the action changes what the list shows, so its figure must include painting it.
    bool paintsList = true;
};

// The median of the runs, and every run.
void add(QJsonObject& json, const QString& key, std::vector<double> runs)
{
    json.insert(key + "_samples_ms", QJsonArray::fromVariantList(QVariantList(runs.begin(), runs.end())));
    std::sort(runs.begin(), runs.end());
    json.insert(key + "_ms", runs.empty() ? 0 : (runs[(runs.size() - 1) / 2] + runs[runs.size() / 2]) / 2);
}

// Every command on one notebook, window and raw SQLite. Every run is checked, and a failed check stops the
// benchmark rather than report a figure for something else.
struct SizeBench : public QObject {
    SizeBench(const QString& notebook, int size, int runs, QStringList only)
        : m_notebook(notebook)
        , m_size(size)
        , m_runs(runs)
        , m_only(std::move(only))
        , m_raw(notebook)
    {}

    QJsonObject run()
    {
        expectRows(m_size);
        startUpAndLists();
        registerAndDelete();
        const QString rare = m_raw.firstRow(QStringLiteral("select substr(English, 2, 5) from wordDB where "
                                                           "length(English) >= 8 order by rowid limit 1"))[0];
        search("search_common", QStringLiteral("Search, 2 letters, common (\"an\")"), QStringLiteral("an"));
        // The commonest three letters of the generated words.
        search("search_common3", QStringLiteral("Search, 3 letters, common (\"eee\")"),
               QStringLiteral("eee"));
        // "q" is the rarest letter but one: three letters around it are in a handful of words.
        const QString rare3 =
            m_raw.firstRow(QStringLiteral("select substr(English, instr(English, 'q') - 1, 3) from wordDB "
                                          "where instr(English, 'q') > 1 and "
                                          "length(English) > instr(English, 'q') order by rowid limit 1"))[0];
        search("search_rare3", QStringLiteral("Search, 3 letters, rare (\"%1\")").arg(rare3), rare3);
        search("search_rare", QStringLiteral("Search, 5 letters, rare (\"%1\")").arg(rare), rare);
        search("search_single", QStringLiteral("Search, 1 letter (\"e\")"), QStringLiteral("e"));
        search("search_none", QStringLiteral("Search, 4 letters, no hit (\"qqxj\")"), QStringLiteral("qqxj"));
        scrolling();
        // A text in tens of thousands of words at a million: one word in 33 made to end in it, outside the
        // timing and after everything else, so no other figure sees the change.
        m_raw.read(QStringLiteral("update wordDB set English = English || 'zqz' where rowid % 33 = 0"));
        search("search_many3", QStringLiteral("Search, 3 letters, in a word of 33 (\"zqz\")"),
               QStringLiteral("zqz"));
        expectRows(m_size);
        return {{"pairs", m_size},
                {"commands", m_commands},
                {"resident_mb_after_jump_to_end", m_residentMb},
                {"index_mb", m_indexMb},
                {"file_mb", m_fileMb},
                {"search_hits", m_hits}};
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        m_paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }

    // One run of the step: its time, and the part of it spent in the event loop after the action.
    std::pair<double, double> once(const Step& step)
    {
        // The window is idle when the action comes, as it is when a learner clicks.
        if (step.setup)
            step.setup();
        if (m_form)
            frame();
        const int paints = m_paints;
        const double paintMs = m_paintMs;
        const double ms = milliseconds(step.action);
        const double painted = m_paintMs - paintMs;
        require(!step.paintsList || m_paints > paints, QStringLiteral("the list was not painted"));
        if (step.check)
            step.check();
        return {ms, painted};
    }

    void record(const char* id, const QString& label, const Step& window, Step raw = {}, Step before = {})
    {
        // A command left out of --only still runs once, untimed, for what the commands after it expect.
        const bool chosen = m_only.isEmpty() || m_only.contains(QLatin1String(id));
        if (!chosen) {
            once(window);
            return;
        }
        std::fprintf(stderr, "  %-8d %s\n", m_size, qPrintable(label));
        raw.paintsList = false;
        before.paintsList = false;
        const Step* sides[] = {&window, raw.action ? &raw : nullptr, before.action ? &before : nullptr};
        std::vector<double> times[3], painting;
        // The sides take turns run by run, so a machine that slows down or speeds up during the runs does so
        // for all three alike; the first round warms up.
        for (int run = 0; run <= m_runs; ++run) {
            for (int side = 0; side < 3; ++side) {
                if (!sides[side])
                    continue;
                const auto [ms, paintMs] = once(*sides[side]);
                if (run > 0)
                    times[side].push_back(ms);
                if (run > 0 && side == 0)
                    painting.push_back(paintMs);
            }
        }
        QJsonObject json{{"id", id}, {"label", label}};
        add(json, QStringLiteral("tessimor"), times[0]);
        add(json, QStringLiteral("tessimor_painting"), painting);
        if (raw.action)
            add(json, QStringLiteral("raw_sqlite"), times[1]);
        if (before.action)
            add(json, QStringLiteral("raw_before"), times[2]);
        m_commands.append(json);
    }

    void startUpAndLists()
    {
        const Step window{[this] { m_form.reset(); },
                          [this] {
                              m_form = openWindow(m_notebook, this);
                              frame();
                          },
                          shows({}, m_size)};
        const Step raw{{}, [this] { Raw(m_notebook).list(Statements::kNormalList); }};
        const Step before{{}, [this] { Raw(m_notebook).listBefore(Before::kNormalList); }};
        record("startup", QStringLiteral("Start-up to the list painted"), window, raw, before);
        const auto list = [this](const char* before, const char* button, int columns) {
            const Action quiet = shows({}, m_size);
            return Step{[this, before] { press(before); }, [this, button] { press(button); },
                        [this, quiet, columns] {
                            quiet();
                            require(m_form->grid("DataGrid1")->model()->columnCount() == columns,
                                    QStringLiteral("the list shows %1 columns").arg(columns));
                        }};
        };
        const auto rawOf = [this](const Statements::List& list) {
            return Step{{}, [this, list] { m_raw.list(list); }};
        };
        const auto beforeOf = [this](const QString& list) {
            return Step{{}, [this, list] { m_raw.listBefore(list); }};
        };
        record("normal", QStringLiteral("Normal"), list("Command4", "Command3", 2),
               rawOf(Statements::kNormalList), beforeOf(Before::kNormalList));
        record("alphabet", QStringLiteral("Alphabet"), list("Command3", "Command4", 2),
               rawOf(Statements::kAlphabetList), beforeOf(Before::kAlphabetList));
        record("date", QStringLiteral("Date (after Normal)"), list("Command3", "Command6", 3),
               rawOf(Statements::kDateList), beforeOf(Before::kDateList));
    }

    void registerAndDelete()
    {
        QVariantList pair;
        // Uppercase and a hyphen: no generated word looks like this, so no pair collides.
        const Action newPair = [this, &pair] {
            pair = {QStringLiteral("Bench-%1").arg(++m_serial), QStringLiteral("ベンチ%1").arg(m_serial)};
        };
        // After what the window shows (`shown`), the file holds `rows` pairs, the new one `copies` times;
        // then it goes, so sizes stay put.
        const auto stored = [this, &pair](qint64 rows, qint64 copies, const Action& shown = {}) {
            return [this, &pair, rows, copies, shown] {
                if (shown)
                    shown();
                expectRows(rows);
                require(m_raw.number(Statements::kCheckPair, pair) == copies,
                        QStringLiteral("the file does not hold the new pair %1 time(s)").arg(copies));
                m_raw.read(Statements::kDelete, pair);
            };
        };
        const Step window{[this, &pair, newPair] {
                              newPair();
                              m_form->clock.moment = QDateTime::currentDateTime();
                              // Typed into the boxes, which takes the focus from the list the last run's
                              // Delete left it in.
                              m_form->text("Text1")->setFocus();
                              m_form->type(pair[0].toString(), pair[1].toString());
                          },
                          [this] { press("Command1"); },
                          [this, &pair] {
                              shows({kRegistered}, m_size + 1)();
                              expectRows(m_size + 1);
                              // The window's own Delete takes the pair away again, so every run adds a row to
                              // the list shown, as registering one word after another does.
                              require(m_form->grid("DataGrid1")->model()->index(0, 0).data() == pair[0],
                                      QStringLiteral("the new pair is not the top row"));
                              m_form->clickRow(0);
                              frame();
                              m_form->messages.answerNext(MessageBox::Answer::Yes);
                              press("Command2");
                              shows({kDeleteQuestion}, m_size)();
                              require(m_raw.number(Statements::kCheckPair, pair) == 0,
                                      QStringLiteral("the new pair was not deleted"));
                          }};
        const Step raw{newPair,
                       [this, &pair] {
                           if (m_raw.number(Statements::kCheckPair, pair) == 0)
                               m_raw.read(Statements::kInsert,
                                          QVariantList{UpDay::format(QDateTime::currentDateTime())} + pair);
                           m_raw.list(Statements::kNormalList);
                       },
                       stored(m_size + 1, 1)};
        const Step before{newPair,
                          [this, &pair] {
                              if (m_raw.number(Before::kCheckPair, pair) == 0)
                                  m_raw.read(Statements::kInsert,
                                             QVariantList{UpDay::format(QDateTime::currentDateTime())} +
                                                 pair);
                              m_raw.listBefore(Before::kNormalList);
                          },
                          stored(m_size + 1, 1)};
        record("register_new", QStringLiteral("Register (a new pair)"), window, raw, before);

        const QStringList first =
            m_raw.firstRow(QStringLiteral("select English, Japanese from wordDB order by rowid limit 1"));
        const Step duplicate{[this, first] { m_form->type(first[0], first[1]); },
                             [this] { press("Command1"); },
                             stored(m_size, 0, [this] { takeMessages(*m_form, {kDuplicate}, true); }), false};
        const Step rawDuplicate{{}, [this, first] {
                                    m_raw.number(Statements::kCheckPair, {first[0], first[1]});
                                }};
        const Step beforeDuplicate{{}, [this, first] {
                                       m_raw.number(Before::kCheckPair, {first[0], first[1]});
                                   }};
        record("register_duplicate", QStringLiteral("Register (a duplicate)"), duplicate, rawDuplicate,
               beforeDuplicate);

        // The pair to delete is added outside the timing, newest of all, so it is the top row.
        const Action addNewest = [this, &pair, newPair] {
            newPair();
            m_raw.read(Statements::kInsert, QVariantList{QStringLiteral("2099/12/31 23:59:59")} + pair);
        };
        const Step remove{[this, addNewest] {
                              addNewest();
                              press("Command3");
                              m_form->clickRow(0);
                              frame();
                              m_form->messages.answerNext(MessageBox::Answer::Yes);
                          },
                          [this] { press("Command2"); }, stored(m_size, 0, shows({kDeleteQuestion}, m_size))};
        const Step rawRemove{addNewest,
                             [this, &pair] {
                                 m_raw.read(Statements::kDelete, pair);
                                 m_raw.list(Statements::kNormalList);
                             },
                             stored(m_size, 0)};
        const Step beforeRemove{addNewest,
                                [this, &pair] {
                                    m_raw.read(Before::kDelete, pair);
                                    m_raw.listBefore(Before::kNormalList);
                                },
                                stored(m_size, 0)};
        record("delete", QStringLiteral("Delete (top row, Yes)"), remove, rawRemove, beforeRemove);
    }

    void search(const char* id, const QString& label, const QString& text)
    {
        const QVariantList pattern{Statements::searchPattern(text)};
        const qint64 hits = m_raw.number(Statements::kSearchCount, pattern);
        m_hits.insert(text, hits);
        require((hits == 0) == (QLatin1String(id) == QLatin1String("search_none")),
                QStringLiteral("the text \"%1\" has %2 hits").arg(text).arg(hits));
        const Step window{[this, text] {
                              press("Command3");
                              m_form->text("Text3")->setText(text);
                          },
                          [this] { press("Command5"); },
                          [this, hits] {
                              // No hit leaves the list and its count as they were, and empties Text3.
                              shows(hits > 0 ? QStringList() : QStringList{kNoHit},
                                    hits > 0 ? hits : m_size)();
                              require(hits > 0 || m_form->text("Text3")->text().isEmpty(),
                                      QStringLiteral("no hit empties Text3"));
                          },
                          hits > 0};
        // With the index the store counts the hits through it, then reads their first page walking the list's
        // order or through the index; without, it reads the first page first, and only a full page needs the
        // hits counted, a short one has its own rows counted.
        const Step raw{
            {}, [this, text, pattern] {
                if (Statements::indexable(text)) {
                    const QVariantList indexed = QVariantList{Statements::searchPhrase(text)} + pattern;
                    const qint64 hits = m_raw.number(Statements::kIndexedSearchCount.plain(), indexed);
                    const bool walk = Statements::searchWalks(hits, m_size);
                    if (hits > 0)
                        m_raw.read(Statements::searchList(!walk).page(false, false),
                                   (walk ? pattern : indexed) + QVariantList{kPage, 0});
                    return;
                }
                QVector<QVariantList> rows;
                const Statements::List list = Statements::searchList(false);
                m_raw.read(list.page(false, false), pattern + QVariantList{kPage, 0}, INT_MAX, nullptr,
                           &rows);
                Statements::List count{Statements::kCounted, list.where, {}};
                QVariantList counted = pattern;
                if (rows.size() < kPage) {
                    count.where += Statements::kAmongRows.arg(QStringLiteral("?,").repeated(rows.size()) +
                                                              QStringLiteral("null"));
                    for (const QVariantList& row : rows)
                        counted << row.constLast();
                }
                m_raw.number(count.plain(), counted);
            }};
        const Step before{
            {}, [this, pattern] {
                const int page = m_raw.read(Before::kSearchHits + kPaged, pattern + QVariantList{kPage, 0});
                if (page == kPage)
                    m_raw.number(Statements::kSearchCount, pattern);
                if (page > 0)
                    m_raw.number(Statements::kTotalCount);
            }};
        record(id, label, window, raw, before);
    }

    void scrolling()
    {
        const Statements::List& normal = Statements::kNormalList;
        const auto before = [this](int first) {
            return Step{{}, [this, first] { m_raw.read(Before::kNormalList + kPaged, {kPage, first}); }};
        };
        // The key of a row of the list, as the store holds it for the page around it.
        const auto keyOf = [this, &normal](int row) {
            QVector<QVariantList> rows;
            m_raw.read(normal.page(false, false), {1, row}, 1, nullptr, &rows);
            return rows.constFirst().mid(2);
        };
        // From the row shown last in view (first, with `top`; none: from the top), a key must bring a row at
        // or past `reach` (before it, with Page Up) current.
        const auto keyStep = [this](int key, int from, int reach, bool top = false) {
            return Step{[this, from, top] {
                            press("Command3");
                            if (from > 0)
                                showRowAtBottom(*m_form, from,
                                                top ? QAbstractItemView::PositionAtTop
                                                    : QAbstractItemView::PositionAtBottom);
                            frame();
                        },
                        [this, key] {
                            m_form->key(key, key == Qt::Key_End ? Qt::ControlModifier : Qt::NoModifier);
                            frame();
                        },
                        [this, key, reach] {
                            const int row = m_form->grid("DataGrid1")->currentIndex().row();
                            require(key == Qt::Key_PageUp ? row < reach : row >= reach,
                                    QStringLiteral("the key did not reach row %1").arg(reach));
                        }};
        };
        const int lastPage = (m_size - 1) / kPage * kPage;
        record("jump_end", QStringLiteral("Jump to the last row (Ctrl+End)"),
               keyStep(Qt::Key_End, 0, m_size - 1),
               Step{{},
                    [this, normal, lastPage] {
                        m_raw.read(normal.page(true, false), {m_size - lastPage, 0});
                    }},
               before(lastPage));
        m_residentMb = residentMb();
        record("page_down_top", QStringLiteral("Page down, from the top"), keyStep(Qt::Key_PageDown, 0, 1));
        // A few rows above the first row of a page in the middle: the rows in view (and the one cut off
        // below them) are all in the page before, so the page down is what has the next page read.
        const int boundary = m_size / 2 / kPage * kPage;
        const QVariantList above = keyOf(boundary - 1), below = keyOf(boundary + kPage);
        record("page_down_middle", QStringLiteral("Page down, mid-list into an unread page"),
               keyStep(Qt::Key_PageDown, boundary - 3, boundary),
               Step{{},
                    [this, normal, above] {
                        m_raw.read(normal.page(false, true),
                                   Statements::List::keyValues(above) + QVariantList{kPage, 0});
                    }},
               before(boundary));
        // A few rows below the first row of that page, at the top of the view: Page Up needs the page above.
        record("page_up_middle", QStringLiteral("Page up, mid-list into an unread page"),
               keyStep(Qt::Key_PageUp, boundary + kPage + 3, boundary + kPage, true),
               Step{{},
                    [this, normal, below] {
                        m_raw.read(normal.page(true, true),
                                   Statements::List::keyValues(below) + QVariantList{kPage, 0});
                    }},
               before(boundary));
        // The scroll bar dragged to 70 % of a list that holds its first page: the page there is read from
        // the nearest place known, the end.
        const int dragged = m_size * 7 / 10;
        const int draggedPage = dragged / kPage * kPage;
        record("drag_70", QStringLiteral("Scroll-bar drag to 70 %"),
               Step{[this] { press("Command3"); },
                    [this, dragged] {
                        m_form->grid("DataGrid1")->verticalScrollBar()->setValue(dragged);
                        frame();
                    },
                    [this, dragged] {
                        const int top = m_form->grid("DataGrid1")->rowAt(0);
                        require(top >= dragged - 2 && top <= dragged + 2,
                                QStringLiteral("the drag shows row %1 first").arg(top));
                    }},
               Step{{},
                    [this, normal, draggedPage] {
                        m_raw.read(normal.page(true, false), {kPage, m_size - draggedPage - kPage});
                    }},
               before(draggedPage));
        m_indexMb =
            m_raw.number(QStringLiteral("select sum(pgsize) from dbstat where name like 'wordDB\\_Text%' "
                                        "escape '\\'")) /
            1e6;
        m_fileMb = double(QFileInfo(m_notebook).size()) / 1e6;
    }

    // What the event loop does after a command, painting included, timed for the paint share.
    void frame()
    {
        m_paintMs += milliseconds([this] { m_form->settle(); });
        require(!m_form->ended(), QStringLiteral("the program asked to end"));
    }

    void press(const char* button)
    {
        m_form->click(button);
        frame();
    }

    // A check that the boxes shown were these and the count label shows the count.
    Action shows(const QStringList& messages, qint64 count)
    {
        return [this, messages, count] {
            takeMessages(*m_form, messages, true);
            require(shownCount(*m_form) == count,
                    QStringLiteral("the count shows %1, expected %2").arg(m_form->count()).arg(count));
        };
    }

    void expectRows(qint64 rows)
    {
        const qint64 stored = m_raw.number(Statements::kTableLength);
        require(stored == rows,
                QStringLiteral("the notebook holds %1 pairs, expected %2").arg(stored).arg(rows));
    }

    QString m_notebook;
    int m_size, m_runs, m_paints = 0, m_serial = 0;
    QStringList m_only;
    Raw m_raw;
    std::unique_ptr<FormDriver> m_form;
    double m_paintMs = 0, m_residentMb = 0, m_indexMb = 0, m_fileMb = 0;
    QJsonArray m_commands;
    QJsonObject m_hits;
};

// The speed and memory the notebook must reach at a million pairs on a two-core machine, warm cache: at most
// `ms`, at most `timesNew` times the new statements' raw figure, at most `timesBefore` times the raw figure
// of the statements as they were (0: no such limit).
struct Target {
    double ms = 0, timesNew = 0, timesBefore = 0;
};
const QMap<QString, Target> kTargets = {
    {"startup", {300, 0, 0}},      {"normal", {0, 1.5, 0}},          {"alphabet", {0, 1.5, 0}},
    {"date", {0, 1.5, 0}},         {"register_new", {0, 1.5, 0}},    {"register_duplicate", {30, 0, 0}},
    {"delete", {0, 1.5, 0}},       {"search_rare", {5, 0, 0.05}},    {"search_rare3", {5, 0, 0.05}},
    {"search_none", {5, 0, 0.05}}, {"search_common3", {0, 0, 0.25}}, {"search_many3", {0, 0, 0.25}},
    {"jump_end", {2, 0, 0}},       {"page_down_top", {3, 0, 0}},     {"page_down_middle", {3, 0, 0}},
    {"page_up_middle", {3, 0, 0}}, {"drag_70", {0, 1.5, 0}},         {"memory", {56, 0, 0}}};

QString targetText(const QString& id)
{
    const Target target = kTargets.value(id);
    QStringList parts;
    if (target.ms > 0)
        parts << QString::asprintf("≤ %g %s", target.ms, id == QLatin1String("memory") ? "MB" : "ms");
    if (target.timesNew > 0)
        parts << QString::asprintf("≤ %g × new raw", target.timesNew);
    if (target.timesBefore > 0)
        parts << QString::asprintf("≤ 1/%g of raw before", 1 / target.timesBefore);
    return parts.join(QStringLiteral(", "));
}

// A command's figures at one size, or the memory as a command of its own.
QJsonObject commandIn(const QJsonValue& size, const QString& id)
{
    if (id == QLatin1String("memory"))
        return {{"tessimor_ms", size["resident_mb_after_jump_to_end"]}};
    for (const QJsonValue& command : size["commands"].toArray()) {
        if (command["id"].toString() == id)
            return command.toObject();
    }
    return {};
}

QString verdict(const QJsonArray& sizes, const QString& id)
{
    const Target target = kTargets.value(id);
    for (const QJsonValue& size : sizes) {
        if (size["pairs"].toInt() != 1000000)
            continue;
        const QJsonObject figures = commandIn(size, id);
        const double ms = figures["tessimor_ms"].toDouble();
        const bool met =
            (target.ms == 0 || ms <= target.ms) &&
            (target.timesNew == 0 || ms <= target.timesNew * figures["raw_sqlite_ms"].toDouble()) &&
            (target.timesBefore == 0 || ms <= target.timesBefore * figures["raw_before_ms"].toDouble());
        return met ? QStringLiteral("pass") : QStringLiteral("FAIL");
    }
    return QStringLiteral("not measured");
}

QString pairs(const QJsonValue& size)
{
    return QString::number(size["pairs"].toInt()).replace(QRegularExpression("(\\d)(?=(\\d{3})+$)"), "\\1 ");
}

QString markdown(const QJsonArray& sizes, int runs)
{
    const auto row = [](const QStringList& cells) {
        return "| " + cells.join(QStringLiteral(" | ")) + " |\n";
    };
    const auto number = [](const QJsonValue& value) {
        return value.isDouble() ? QString::number(value.toDouble(), 'f', value.toDouble() < 10 ? 2 : 1)
                                : QStringLiteral("—");
    };
    QStringList header{QStringLiteral("Command")}, rule{QStringLiteral("---")};
    for (const QJsonValue& size : sizes)
        header << pairs(size) + ": Tessimor" << pairs(size) + ": raw new" << pairs(size) + ": raw before";
    header << QStringLiteral("Target at 1 000 000") << QStringLiteral("Verdict");
    while (rule.size() < header.size())
        rule << QStringLiteral("---:");
    QString text =
        QStringLiteral("Machine: %1\nMedian of %2 runs after one warm-up run, in ms; raw SQLite runs the "
                       "store's statements (first page of %3 rows, counts) through its C API: \"new\" the "
                       "statements of this tree, \"before\" those the store ran before the trigram index, "
                       "keyset pages and one count a view.\n\n")
            .arg(machine())
            .arg(runs)
            .arg(kPage) +
        row(header) + row(rule);
    QJsonArray commands = sizes[0]["commands"].toArray();
    commands.append(
        QJsonObject{{"id", "memory"}, {"label", "Resident memory after the jump to the end (MB)"}});
    for (const QJsonValue& command : commands) {
        const QString id = command["id"].toString();
        QStringList cells{command["label"].toString()};
        for (const QJsonValue& size : sizes)
            cells << number(commandIn(size, id)["tessimor_ms"])
                  << number(commandIn(size, id)["raw_sqlite_ms"])
                  << number(commandIn(size, id)["raw_before_ms"]);
        text += row(cells << (kTargets.contains(id) ? targetText(id) : QStringLiteral("—"))
                          << (kTargets.contains(id) ? verdict(sizes, id) : QString()));
    }
    text += QStringLiteral("\nSearch hits:");
    for (const QJsonValue& size : sizes) {
        QStringList hits;
        const QJsonObject counted = size["search_hits"].toObject();
        for (auto it = counted.begin(); it != counted.end(); ++it)
            hits << QStringLiteral("\"%1\" %2").arg(it.key()).arg(it.value().toInteger());
        text += QStringLiteral(" %1 pairs: %2.").arg(pairs(size), hits.join(QStringLiteral(", ")));
    }
    text += QStringLiteral("\nSearch index (trigram, in the file):");
    for (const QJsonValue& size : sizes)
        text += QStringLiteral(" %1 pairs: %2 MB of a %3 MB file.")
                    .arg(pairs(size))
                    .arg(size["index_mb"].toDouble(), 0, 'f', 1)
                    .arg(size["file_mb"].toDouble(), 0, 'f', 1);
    return text + '\n';
}
} // namespace

int measureChild(const Options& options)
{
    const QJsonObject figures =
        SizeBench(options.paths.value("child"), options.sizes.front(), options.runs, options.only).run();
    std::fputs(QJsonDocument(figures).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

int runBenchmark(const Options& options)
{
    QJsonArray sizes;
    for (int size : options.sizes) {
        const QString notebook = workingCopy(options.paths.value("cache"), size, QStringLiteral("working"));
        std::fprintf(stderr, "Measuring %d pairs, %d runs each...\n", size, options.runs);
        // Each size in a process of its own, so its memory figure holds nothing of the sizes before it.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child", notebook, "--sizes", QString::number(size), "--runs",
                     QString::number(options.runs), "--only", options.only.join(',')});
        require(child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit &&
                    child.exitCode() == 0,
                QStringLiteral("measuring %1 pairs failed").arg(size));
        const QJsonDocument json = QJsonDocument::fromJson(child.readAllStandardOutput());
        require(json.isObject(), QStringLiteral("no figures came back for %1 pairs").arg(size));
        sizes.append(json.object());
        QFile::remove(notebook);
    }
    std::fputs(qPrintable(markdown(sizes, options.runs)), stdout);
    QJsonObject verdicts;
    for (const QString& id : kTargets.keys())
        verdicts.insert(id, QJsonObject{{"target", targetText(id)}, {"verdict", verdict(sizes, id)}});
    const QJsonObject json{{"measured_at", QDateTime::currentDateTime().toString(Qt::ISODate)},
                           {"machine", machineJson()},
                           {"runs", options.runs},
                           {"sizes", sizes},
                           {"targets_at_1000000", verdicts}};
    QFile file(options.paths.value("out"));
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(QJsonDocument(json).toJson()) > 0,
            QStringLiteral("cannot write ") + options.paths.value("out"));
    std::fprintf(stderr, "Figures written to %s\n", qPrintable(options.paths.value("out")));
    return 0;
}
