#include "Kit.h"

#include "PagedResult.h"
#include "Statements.h"
#include "UpDay.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {
using Action = std::function<void()>;
using Samples = std::vector<double>;
constexpr int kPage = PagedResult::kPageSize;
constexpr int kTargetSize = 1000000, kSmallerSize = 100000;
const QString kPaged = Statements::kPage;

// One side of a figure: what comes before each run untimed, the timed action, and the check after it.
struct Step {
    Action setup = {}, action = {}, check = {};
    // Whether the action changes what the list shows, so its figure must include painting it.
    bool paintsList = true;
};

double median(Samples values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QJsonArray array(const Samples& values)
{
    QJsonArray json;
    for (double value : values)
        json.append(value);
    return json;
}

// A whole-table list as the store reads it: the first page, the table's length when the page is full,
// then the count shown under the list.
void rawList(Raw& db, const QString& list)
{
    if (db.read(list + kPaged, {kPage, 0}) == kPage)
        db.number(Statements::kTableLength);
    db.number(Statements::kTotalCount);
}

// Every command on one notebook: the real window driven through its controls, and raw SQLite running the
// same statements on a connection of its own. A figure is the median of the runs after one unmeasured
// warm-up run. Each run is checked (the count shown, the messages, the rows in the file), and a failed
// check stops the benchmark rather than report a figure for something else.
class SizeBench : public QObject {
public:
    SizeBench(const QString& notebook, int size, int runs)
        : m_notebook(notebook)
        , m_size(size)
        , m_runs(runs)
        , m_raw(notebook)
    {}

    QJsonObject run()
    {
        expectRows(m_size);
        const double before = residentMb();
        startUp();
        lists();
        registerPairs();
        deleteTop();
        const QString rare = m_raw.firstRow(QStringLiteral("select substr(English, 2, 5) from wordDB where "
                                                           "length(English) >= 8 order by rowid limit 1"))[0];
        search("search_common", QStringLiteral("Search, 2 letters, common (\"an\")"), QStringLiteral("an"));
        search("search_rare", QStringLiteral("Search, 5 letters, rare (\"%1\")").arg(rare), rare);
        search("search_single", QStringLiteral("Search, 1 letter (\"e\")"), QStringLiteral("e"));
        search("search_none", QStringLiteral("Search, 4 letters, no hit (\"qqxj\")"), QStringLiteral("qqxj"));
        scrolling();
        expectRows(m_size);
        return {{"pairs", m_size},
                {"commands", m_commands},
                {"resident_mb_after_jump_to_end", m_residentMb},
                {"resident_mb_before_window", before},
                {"search_hits", m_hits}};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return QObject::eventFilter(watched, event);
    }

private:
    // The action's times; with `painting`, also the part of each spent in the event loop after it.
    Samples measure(const Step& step, Samples* painting)
    {
        Samples samples;
        for (int run = 0; run <= m_runs; ++run) {
            if (step.setup)
                step.setup();
            const int paints = m_paints;
            const double paintMs = m_paintMs;
            const double ms = milliseconds(step.action);
            if (step.check)
                step.check();
            require(!step.paintsList || m_paints > paints, QStringLiteral("the list was not painted"));
            if (run == 0)
                continue;
            samples.push_back(ms);
            if (painting)
                painting->push_back(m_paintMs - paintMs);
        }
        return samples;
    }

    void record(const char* id, const QString& label, const Step& window, Step raw = {})
    {
        std::fprintf(stderr, "  %-8d %s\n", m_size, qPrintable(label));
        Samples painting;
        const Samples times = measure(window, &painting);
        QJsonObject json{{"id", id},
                         {"label", label},
                         {"tessimor_ms", median(times)},
                         {"tessimor_samples_ms", array(times)},
                         {"tessimor_painting_ms", median(painting)},
                         {"tessimor_painting_samples_ms", array(painting)}};
        if (raw.action) {
            raw.paintsList = false;
            const Samples rawTimes = measure(raw, nullptr);
            json.insert("raw_sqlite_ms", median(rawTimes));
            json.insert("raw_sqlite_samples_ms", array(rawTimes));
        }
        m_commands.append(json);
    }

    void startUp()
    {
        const Step window{[this] { m_form.reset(); },
                          [this] {
                              m_form = openWindow(m_notebook, this);
                              frame();
                          },
                          [this] {
                              expectMessages(*m_form, {});
                              expectCount(m_size);
                          }};
        const Step raw{{}, [this] {
                           Raw db(m_notebook);
                           rawList(db, Statements::kNormalList);
                       }};
        record("startup", QStringLiteral("Start-up to the list painted"), window, raw);
    }

    void lists()
    {
        const auto list = [this](const char* before, const char* button) {
            return Step{[this, before] { press(before); }, [this, button] { press(button); },
                        [this] {
                            expectMessages(*m_form, {});
                            expectCount(m_size);
                        }};
        };
        const auto raw = [this](const QString& list) {
            return Step{{}, [this, list] { rawList(m_raw, list); }};
        };
        record("normal", QStringLiteral("Normal"), list("Command4", "Command3"),
               raw(Statements::kNormalList));
        record("alphabet", QStringLiteral("Alphabet"), list("Command3", "Command4"),
               raw(Statements::kAlphabetList));
        Step date = list("Command3", "Command6");
        const Action counted = date.check;
        date.check = [this, counted] {
            counted();
            require(m_form->grid("DataGrid1")->model()->columnCount() == 3,
                    QStringLiteral("Date shows three columns"));
        };
        record("date", QStringLiteral("Date (after Normal)"), date, raw(Statements::kDateList));
    }

    void registerPairs()
    {
        QVariantList pair;
        const Step window{[this, &pair] {
                              pair = newPair();
                              m_form->clock.moment = QDateTime::currentDateTime();
                              m_form->type(pair[0].toString(), pair[1].toString());
                          },
                          [this] { press("Command1"); },
                          [this, &pair] {
                              expectMessages(*m_form, {kRegistered});
                              expectCount(m_size + 1);
                              m_raw.read(Statements::kDelete, pair);
                          }};
        const Step raw{[this, &pair] { pair = newPair(); },
                       [this, &pair] {
                           if (m_raw.number(Statements::kCheckPair, pair) == 0)
                               m_raw.read(Statements::kInsert,
                                          QVariantList{UpDay::format(QDateTime::currentDateTime())} + pair);
                           rawList(m_raw, Statements::kNormalList);
                       },
                       [this, &pair] {
                           expectRows(m_size + 1);
                           m_raw.read(Statements::kDelete, pair);
                       }};
        record("register_new", QStringLiteral("Register (a new pair)"), window, raw);

        const QStringList first =
            m_raw.firstRow(QStringLiteral("select English, Japanese from wordDB order by rowid limit 1"));
        const Step duplicate{[this, first] { m_form->type(first[0], first[1]); },
                             [this] { press("Command1"); }, [this] { expectMessages(*m_form, {kDuplicate}); },
                             false};
        const Step rawDuplicate{{}, [this, first] {
                                    m_raw.number(Statements::kCheckPair, {first[0], first[1]});
                                }};
        record("register_duplicate", QStringLiteral("Register (a duplicate)"), duplicate, rawDuplicate);
        expectRows(m_size);
    }

    void deleteTop()
    {
        // The pair to delete is added outside the timing, newest of all, so it is the top row and the
        // notebook keeps its size.
        QVariantList pair;
        const Action addNewest = [this, &pair] {
            pair = newPair();
            m_raw.read(Statements::kInsert, QVariantList{QStringLiteral("2099/12/31 23:59:59")} + pair);
        };
        const Action gone = [this, &pair] {
            expectRows(m_size);
            require(m_raw.number(Statements::kCheckPair, pair) == 0,
                    QStringLiteral("the top pair is deleted"));
        };
        const Step window{[this, addNewest] {
                              addNewest();
                              press("Command3");
                              m_form->clickRow(0);
                              frame();
                              m_form->messages.answerNext(MessageBox::Answer::Yes);
                          },
                          [this] { press("Command2"); },
                          [this, gone] {
                              expectMessages(*m_form, {kDeleteQuestion});
                              expectCount(m_size);
                              gone();
                          }};
        const Step raw{addNewest,
                       [this, &pair] {
                           m_raw.read(Statements::kDelete, pair);
                           rawList(m_raw, Statements::kNormalList);
                       },
                       gone};
        record("delete", QStringLiteral("Delete (top row, Yes)"), window, raw);
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
                              expectMessages(*m_form, hits > 0 ? QStringList() : QStringList{kNoHit});
                              if (hits > 0)
                                  expectCount(hits);
                              else
                                  require(m_form->text("Text3")->text().isEmpty(),
                                          QStringLiteral("no hit empties Text3"));
                          },
                          hits > 0};
        // The store reads the first page of hits first; only a full page needs the hits counted.
        const Step raw{{}, [this, pattern] {
                           const int page =
                               m_raw.read(Statements::kSearchHits + kPaged, pattern + QVariantList{kPage, 0});
                           if (page == kPage)
                               m_raw.number(Statements::kSearchCount, pattern);
                           if (page > 0)
                               m_raw.number(Statements::kTotalCount);
                       }};
        record(id, label, window, raw);
    }

    void scrolling()
    {
        const int last = m_size - 1;
        const Step jump{
            [this] { press("Command3"); },
            [this] {
                m_form->key(Qt::Key_End, Qt::ControlModifier);
                frame();
            },
            [this, last] { require(currentRow() == last, QStringLiteral("Ctrl+End reaches the last row")); }};
        record("jump_end", QStringLiteral("Jump to the last row (Ctrl+End)"), jump,
               rawPage(last / kPage * kPage));
        m_residentMb = residentMb();

        // From the row shown last in view, a page down must bring `reach` (or a later row) current.
        const auto pageDown = [this](int from, int reach) {
            return Step{[this, from] {
                            press("Command3");
                            showRowAtBottom(*m_form, from);
                            frame();
                        },
                        [this] {
                            m_form->key(Qt::Key_PageDown);
                            frame();
                        },
                        [this, reach] {
                            require(currentRow() >= reach,
                                    QStringLiteral("PageDown reaches row %1").arg(reach));
                        }};
        };
        record("page_down_top", QStringLiteral("Page down, from the top"), pageDown(0, 1));
        // A few rows above the first row of a page in the middle: the rows in view (and the one cut off
        // below them) are all in the page before, so the page down is what has the next page read.
        const int boundary = m_size / 2 / kPage * kPage;
        record("page_down_middle", QStringLiteral("Page down, mid-list into an unread page"),
               pageDown(boundary - 3, boundary), rawPage(boundary));
    }

    Step rawPage(int first)
    {
        return Step{{}, [this, first] { m_raw.read(Statements::kNormalList + kPaged, {kPage, first}); }};
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

    int currentRow() const { return m_form->grid("DataGrid1")->currentIndex().row(); }

    QVariantList newPair()
    {
        // Uppercase and a hyphen: no generated word looks like this, so no pair collides.
        ++m_serial;
        return {QStringLiteral("Bench-%1").arg(m_serial), QStringLiteral("ベンチ%1").arg(m_serial)};
    }

    void expectCount(qint64 count)
    {
        require(shownCount(*m_form) == count,
                QStringLiteral("the count shows %1, expected %2").arg(m_form->count()).arg(count));
    }

    void expectRows(qint64 rows)
    {
        const qint64 stored = m_raw.number(Statements::kTableLength);
        require(stored == rows,
                QStringLiteral("the notebook holds %1 pairs, expected %2").arg(stored).arg(rows));
    }

    QString m_notebook;
    int m_size, m_runs;
    Raw m_raw;
    std::unique_ptr<FormDriver> m_form;
    int m_paints = 0, m_serial = 0;
    double m_paintMs = 0, m_residentMb = 0;
    QJsonArray m_commands;
    QJsonObject m_hits;
};

// The speed and memory the notebook must reach at a million pairs on a two-core machine, warm cache.
struct Target {
    const char* id;
    QString text;
    double limit;
    // A further limit at 100 000 pairs, where the target has one.
    std::optional<double> smaller;
};

const std::vector<Target> kTargets = {
    {"startup", QStringLiteral("≤ 300 ms"), 300, {}},
    {"normal", QStringLiteral("≤ 20 ms"), 20, {}},
    {"alphabet", QStringLiteral("≤ 20 ms"), 20, {}},
    {"date", QStringLiteral("≤ 20 ms"), 20, {}},
    {"register_new", QStringLiteral("≤ 30 ms"), 30, {}},
    {"register_duplicate", QStringLiteral("≤ 30 ms"), 30, {}},
    {"delete", QStringLiteral("≤ 30 ms"), 30, {}},
    {"search_rare", QStringLiteral("≤ 150 ms (≤ 20 ms at 100 000)"), 150, 20},
    {"search_none", QStringLiteral("≤ 150 ms (≤ 20 ms at 100 000)"), 150, 20},
    {"jump_end", QStringLiteral("≤ 50 ms"), 50, {}},
    {"page_down_top", QStringLiteral("≤ 16 ms"), 16, {}},
    {"page_down_middle", QStringLiteral("≤ 16 ms"), 16, {}},
    {"memory", QStringLiteral("≤ 100 MB"), 100, {}},
};

const Target* targetOf(const QString& id)
{
    for (const Target& target : kTargets) {
        if (id == QLatin1String(target.id))
            return &target;
    }
    return nullptr;
}

QJsonObject commandIn(const QJsonObject& size, const QString& id)
{
    for (const QJsonValue& command : size["commands"].toArray()) {
        if (command["id"].toString() == id)
            return command.toObject();
    }
    return {};
}

// The figure a target is checked against at a size: a command's median, or the memory.
std::optional<double> figure(const std::vector<QJsonObject>& sizes, int pairs, const QString& id)
{
    for (const QJsonObject& size : sizes) {
        if (size["pairs"].toInt() != pairs)
            continue;
        const QJsonValue value = id == QLatin1String("memory") ? size["resident_mb_after_jump_to_end"]
                                                               : commandIn(size, id)["tessimor_ms"];
        if (value.isDouble())
            return value.toDouble();
    }
    return std::nullopt;
}

QString verdict(const std::vector<QJsonObject>& sizes, const Target& target)
{
    const std::optional<double> value = figure(sizes, kTargetSize, QLatin1String(target.id));
    if (!value)
        return QStringLiteral("not measured");
    bool met = *value <= target.limit;
    if (target.smaller) {
        const std::optional<double> smaller = figure(sizes, kSmallerSize, QLatin1String(target.id));
        if (!smaller)
            return met ? QStringLiteral("pass at 1M; 100k not measured") : QStringLiteral("FAIL");
        met = met && *smaller <= *target.smaller;
    }
    return met ? QStringLiteral("pass") : QStringLiteral("FAIL");
}

QString pairs(int size)
{
    QString digits = QString::number(size);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

QString number(const QJsonValue& value)
{
    return value.isDouble() ? QString::number(value.toDouble(), 'f', value.toDouble() < 10 ? 2 : 1)
                            : QStringLiteral("—");
}

QString markdown(const std::vector<QJsonObject>& sizes, int runs)
{
    const auto row = [](const QStringList& cells) {
        return "| " + cells.join(QStringLiteral(" | ")) + " |\n";
    };
    const auto judged = [&sizes](QStringList cells, const QString& id) {
        const Target* target = targetOf(id);
        return cells << (target ? target->text : QStringLiteral("—"))
                     << (target ? verdict(sizes, *target) : "");
    };
    QStringList header{QStringLiteral("Command")}, rule{QStringLiteral("---")};
    for (const QJsonObject& size : sizes)
        header << pairs(size["pairs"].toInt()) + ": Tessimor"
               << pairs(size["pairs"].toInt()) + ": raw SQLite";
    header << "Target at " + pairs(kTargetSize) << QStringLiteral("Verdict");
    while (rule.size() < header.size())
        rule << QStringLiteral("---:");
    QString text =
        QStringLiteral("Machine: %1\nMedian of %2 runs after one warm-up run, in ms; raw SQLite runs "
                       "the same statements (first page of %3 rows, counts) through its C API.\n\n")
            .arg(machine())
            .arg(runs)
            .arg(kPage) +
        row(header) + row(rule);
    for (const QJsonValue& command : sizes.front()["commands"].toArray()) {
        QStringList cells{command["label"].toString()};
        for (const QJsonObject& size : sizes) {
            const QJsonObject here = commandIn(size, command["id"].toString());
            cells << number(here["tessimor_ms"]) << number(here["raw_sqlite_ms"]);
        }
        text += row(judged(cells, command["id"].toString()));
    }
    QStringList memory{QStringLiteral("Resident memory after the jump to the end (MB)")};
    for (const QJsonObject& size : sizes)
        memory << number(size["resident_mb_after_jump_to_end"]) << QStringLiteral("—");
    text += row(judged(memory, QStringLiteral("memory"))) + QStringLiteral("\nSearch hits:");
    for (const QJsonObject& size : sizes) {
        QStringList hits;
        const QJsonObject counted = size["search_hits"].toObject();
        for (auto it = counted.begin(); it != counted.end(); ++it)
            hits << QStringLiteral("\"%1\" %2").arg(it.key()).arg(it.value().toInteger());
        text += QStringLiteral(" %1 pairs: %2.")
                    .arg(pairs(size["pairs"].toInt()), hits.join(QStringLiteral(", ")));
    }
    return text + QLatin1Char('\n');
}
} // namespace

int measureChild(const Options& options)
{
    const QJsonObject figures = SizeBench(options.child, options.sizes.front(), options.runs).run();
    const QByteArray json = QJsonDocument(figures).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

int runBenchmark(const Options& options)
{
    std::vector<QJsonObject> sizes;
    for (int size : options.sizes) {
        const QString notebook = workingCopy(options.cache, size, QStringLiteral("working"));
        std::fprintf(stderr, "Measuring %d pairs, %d runs each...\n", size, options.runs);
        // Each size in a process of its own, so its memory figure holds nothing of the sizes before it.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), notebook, QStringLiteral("--sizes"), QString::number(size),
                     QStringLiteral("--runs"), QString::number(options.runs)});
        require(child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit &&
                    child.exitCode() == 0,
                QStringLiteral("measuring %1 pairs failed").arg(size));
        const QJsonDocument json = QJsonDocument::fromJson(child.readAllStandardOutput());
        require(json.isObject(), QStringLiteral("no figures came back for %1 pairs").arg(size));
        sizes.push_back(json.object());
        QFile::remove(notebook);
    }
    std::fputs(qPrintable(markdown(sizes, options.runs)), stdout);
    QJsonObject verdicts;
    for (const Target& target : kTargets)
        verdicts.insert(QLatin1String(target.id),
                        QJsonObject{{"target", target.text}, {"verdict", verdict(sizes, target)}});
    QJsonArray all;
    for (const QJsonObject& size : sizes)
        all.append(size);
    const QJsonObject json{{"measured_at", QDateTime::currentDateTime().toString(Qt::ISODate)},
                           {"machine", machineJson()},
                           {"runs", options.runs},
                           {"sizes", all},
                           {"targets_at_1000000", verdicts}};
    QFile file(options.out);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(QJsonDocument(json).toJson()) > 0,
            QStringLiteral("cannot write ") + options.out);
    std::fprintf(stderr, "Figures written to %s\n", qPrintable(options.out));
    return 0;
}
