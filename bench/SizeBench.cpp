#include "SizeBench.h"

#include "FormDriver.h"
#include "Machine.h"
#include "Statements.h"

#include <QDateTime>
#include <QTableView>

#include <cstdio>
#include <stdexcept>

namespace {
const QString kRegistered = QStringLiteral("登録しました");
const QString kDuplicate = QStringLiteral("データが重複しています");
const QString kDeleteQuestion = QStringLiteral("選択中のレコードを削除しますか");
const QString kNoHit = QStringLiteral("該当するデータがありません");

QByteArray paged(const char* list)
{
    return QByteArray(list) + Statements::kPageSuffix;
}

QString contains(const QString& text)
{
    return QLatin1Char('%') + text + QLatin1Char('%');
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}
} // namespace

SizeBench::SizeBench(const QString& notebook, int size, int runs)
    : m_notebook(notebook)
    , m_size(size)
    , m_runs(runs)
    , m_raw(notebook)
{
    m_result.size = size;
}

SizeBench::~SizeBench() = default;

SizeResult SizeBench::run()
{
    expectRows(m_size);
    m_result.residentBeforeWindowMb = Machine::residentMb();
    measureStartUp();
    measureLists();
    measureRegister();
    measureDelete();
    const QByteArray rare = m_raw.firstRow(
        "select substr(English, 2, 5) from wordDB where length(English) >= 8 order by rowid limit 1")[0];
    measureSearch("search_common", QStringLiteral("Search, 2 letters, common (\"an\")"),
                  QStringLiteral("an"));
    measureSearch("search_rare",
                  QStringLiteral("Search, 5 letters, rare (\"%1\")").arg(QString::fromUtf8(rare)),
                  QString::fromUtf8(rare));
    measureSearch("search_single", QStringLiteral("Search, 1 letter (\"e\")"), QStringLiteral("e"));
    measureSearch("search_none", QStringLiteral("Search, 4 letters, no hit (\"qqxj\")"),
                  QStringLiteral("qqxj"));
    measureScrolling();
    expectRows(m_size);
    return m_result;
}

Samples SizeBench::measure(const Step& step, Samples* painting)
{
    Samples samples;
    for (int run = 0; run <= m_runs; ++run) {
        if (step.setup)
            step.setup();
        const FormDriver* before = m_form.get();
        const int paints = m_form ? m_form->listPaints() : 0;
        const double paintMs = m_form ? m_form->paintMs() : 0;
        const double ms = Samples::time(step.action);
        if (step.check)
            step.check();
        require(!step.paintsList || !m_form || m_form->listPaints() > paints,
                QStringLiteral("the list was not painted"));
        if (run == 0)
            continue;
        samples.add(ms);
        // A new window (start-up) did all its painting within the action.
        if (painting && m_form)
            painting->add(m_form->paintMs() - (m_form.get() == before ? paintMs : 0));
    }
    return samples;
}

void SizeBench::record(const char* id, const QString& label, const Step& window, const Step& raw)
{
    std::fprintf(stderr, "  %-8d %s\n", m_size, qPrintable(label));
    CommandResult result{QLatin1String(id), label, {}, {}, {}};
    result.tessimor = measure(window, &result.painting);
    if (raw.action) {
        Step alone = raw;
        alone.paintsList = false;
        result.raw = measure(alone, nullptr);
    }
    m_result.commands.push_back(result);
}

void SizeBench::measureStartUp()
{
    // A new window checks its own first frame.
    const Step window{[this] { m_form.reset(); },
                      [this] { m_form = std::make_unique<FormDriver>(m_notebook); },
                      [this] {
                          expectMessages({});
                          expectCount(m_size);
                      },
                      false};
    const Step raw{{}, [this] {
                       RawSqlite db(m_notebook);
                       db.read(paged(Statements::kNormalList), {Statements::kPageSize, 0});
                       db.number(Statements::kTotalCount);
                   }};
    record("startup", QStringLiteral("Start-up to the list painted"), window, raw);
}

void SizeBench::measureLists()
{
    const auto list = [this](const char* before, const char* button) {
        return Step{[this, before] { press(before); }, [this, button] { press(button); },
                    [this] {
                        expectMessages({});
                        expectCount(m_size);
                    }};
    };
    const auto raw = [this](const char* statement) {
        return Step{{}, [this, statement] { rawList(statement); }};
    };
    record("normal", QStringLiteral("Normal"), list("Command4", "Command3"), raw(Statements::kNormalList));
    record("alphabet", QStringLiteral("Alphabet"), list("Command3", "Command4"),
           raw(Statements::kAlphabetList));
    Step date = list("Command3", "Command6");
    date.check = [this] {
        expectMessages({});
        expectCount(m_size);
        require(m_form->list()->model()->columnCount() == 3, QStringLiteral("Date shows three columns"));
    };
    record("date", QStringLiteral("Date (after Normal)"), date, raw(Statements::kDateList));
}

void SizeBench::measureRegister()
{
    QVariantList pair;
    const Step window{[this, &pair] {
                          pair = newPair();
                          m_form->setText("Text1", pair[0].toString());
                          m_form->setText("Text2", pair[1].toString());
                      },
                      [this] { press("Command1"); },
                      [this, &pair] {
                          expectMessages({kRegistered});
                          expectCount(m_size + 1);
                          m_raw.exec(Statements::kDelete, pair);
                      }};
    const Step raw{[this, &pair] { pair = newPair(); },
                   [this, &pair] {
                       if (m_raw.number(Statements::kCheckPair, pair) == 0)
                           m_raw.exec(Statements::kInsert, QVariantList{now()} + pair);
                       rawList(Statements::kNormalList);
                   },
                   [this, &pair] {
                       expectRows(m_size + 1);
                       m_raw.exec(Statements::kDelete, pair);
                   }};
    record("register_new", QStringLiteral("Register (a new pair)"), window, raw);

    const QList<QByteArray> first =
        m_raw.firstRow("select English, Japanese from wordDB order by rowid limit 1");
    const QVariantList stored{QString::fromUtf8(first[0]), QString::fromUtf8(first[1])};
    const Step duplicate{[this, stored] {
                             m_form->setText("Text1", stored[0].toString());
                             m_form->setText("Text2", stored[1].toString());
                         },
                         [this] { press("Command1"); }, [this] { expectMessages({kDuplicate}); }, false};
    const Step rawDuplicate{{}, [this, stored] { m_raw.number(Statements::kCheckPair, stored); }};
    record("register_duplicate", QStringLiteral("Register (a duplicate)"), duplicate, rawDuplicate);
    expectRows(m_size);
}

void SizeBench::measureDelete()
{
    // The pair to delete is added outside the timing, newest of all, so it is the top row and the
    // notebook keeps its size.
    QVariantList pair;
    const auto addNewest = [this, &pair] {
        pair = newPair();
        m_raw.exec(Statements::kInsert, QVariantList{QStringLiteral("2099/12/31 23:59:59")} + pair);
    };
    const auto gone = [this, &pair] {
        expectRows(m_size);
        require(m_raw.number(Statements::kCheckPair, pair) == 0, QStringLiteral("the top pair is deleted"));
    };
    const Step window{[this, addNewest] {
                          addNewest();
                          press("Command3");
                          m_form->clickRow(0);
                          m_form->paint();
                          m_form->messages().answerNext(MessageBox::Answer::Yes);
                      },
                      [this] { press("Command2"); },
                      [this, gone] {
                          expectMessages({kDeleteQuestion});
                          expectCount(m_size);
                          gone();
                      }};
    const Step raw{addNewest,
                   [this, &pair] {
                       m_raw.exec(Statements::kDelete, pair);
                       rawList(Statements::kNormalList);
                   },
                   gone};
    record("delete", QStringLiteral("Delete (top row, Yes)"), window, raw);
}

void SizeBench::measureSearch(const char* id, const QString& label, const QString& text)
{
    const QVariantList pattern{contains(text)};
    const qint64 hits = m_raw.number(Statements::kSearchCount, pattern);
    m_result.searchHits.insert(text, hits);
    require(QLatin1String(id) != QLatin1String("search_none") || hits == 0,
            QStringLiteral("the no-hit text \"%1\" has hits").arg(text));
    require(QLatin1String(id) == QLatin1String("search_none") || hits > 0,
            QStringLiteral("the text \"%1\" has no hits").arg(text));
    const Step window{[this, text] {
                          press("Command3");
                          m_form->setText("Text3", text);
                      },
                      [this] { press("Command5"); },
                      [this, hits] {
                          if (hits > 0) {
                              expectMessages({});
                              expectCount(hits);
                          } else {
                              expectMessages({kNoHit});
                              require(m_form->text("Text3").isEmpty(),
                                      QStringLiteral("no hit empties Text3"));
                          }
                      },
                      hits > 0};
    const Step raw{{}, [this, pattern] {
                       const int page = m_raw.read(paged(Statements::kSearchHits),
                                                   pattern + QVariantList{Statements::kPageSize, 0});
                       if (page == Statements::kPageSize)
                           m_raw.number(Statements::kSearchCount, pattern);
                       if (page > 0)
                           m_raw.number(Statements::kTotalCount);
                   }};
    record(id, label, window, raw);
}

void SizeBench::measureScrolling()
{
    const int last = m_size - 1;
    const Step jump{[this] { press("Command3"); },
                    [this] {
                        m_form->key(Qt::Key_End, Qt::ControlModifier);
                        m_form->paint();
                    },
                    [this, last] {
                        require(m_form->list()->currentIndex().row() == last,
                                QStringLiteral("Ctrl+End reaches the last row"));
                    }};
    const int lastPage = last / Statements::kPageSize * Statements::kPageSize;
    const Step rawJump{{}, [this, lastPage] {
                           m_raw.read(paged(Statements::kNormalList), {Statements::kPageSize, lastPage});
                       }};
    record("jump_end", QStringLiteral("Jump to the last row (Ctrl+End)"), jump, rawJump);
    m_result.residentMb = Machine::residentMb();

    // From the row shown last in view, a page down must bring `reach` (or a later row) current.
    const auto pageDown = [this](int from, int reach) {
        return Step{[this, from] {
                        press("Command3");
                        m_form->showRowAtBottom(from);
                        m_form->paint();
                    },
                    [this] {
                        m_form->key(Qt::Key_PageDown);
                        m_form->paint();
                    },
                    [this, reach] {
                        require(m_form->list()->currentIndex().row() >= reach,
                                QStringLiteral("PageDown reaches row %1").arg(reach));
                    }};
    };
    record("page_down_top", QStringLiteral("Page down, from the top"), pageDown(0, 1), {});
    // A few rows above the first row of a page in the middle: the rows in view (and the one cut off
    // below them) are all in the page before, so the page down is what has the next page read.
    const int boundary = m_size / 2 / Statements::kPageSize * Statements::kPageSize;
    const Step rawPage{{}, [this, boundary] {
                           m_raw.read(paged(Statements::kNormalList), {Statements::kPageSize, boundary});
                       }};
    record("page_down_middle", QStringLiteral("Page down, mid-list into an unread page"),
           pageDown(boundary - 3, boundary), rawPage);
}

void SizeBench::press(const char* button)
{
    m_form->click(button);
    m_form->paint();
}

void SizeBench::rawList(const char* list)
{
    m_raw.read(paged(list), {Statements::kPageSize, 0});
    m_raw.number(Statements::kTotalCount);
}

QVariantList SizeBench::newPair()
{
    // Uppercase and a hyphen: no generated word looks like this, so no pair collides.
    ++m_serial;
    return {QStringLiteral("Bench-%1").arg(m_serial), QStringLiteral("ベンチ%1").arg(m_serial)};
}

void SizeBench::expectMessages(const QStringList& texts)
{
    const QStringList shown = m_form->messages().takeTexts();
    require(shown == texts, QStringLiteral("messages shown: [%1], expected [%2]")
                                .arg(shown.join(QStringLiteral(" | ")), texts.join(QStringLiteral(" | "))));
    require(m_form->messages().unexpected().isEmpty(), QStringLiteral("a question came with no answer"));
}

void SizeBench::expectCount(qint64 count)
{
    const QString expected = QString::number(count) + QStringLiteral("件");
    require(m_form->count() == expected,
            QStringLiteral("the count shows %1, expected %2").arg(m_form->count(), expected));
}

void SizeBench::expectRows(qint64 rows)
{
    const qint64 stored = m_raw.number("select count(*) from wordDB");
    require(stored == rows, QStringLiteral("the notebook holds %1 pairs, expected %2").arg(stored).arg(rows));
}
