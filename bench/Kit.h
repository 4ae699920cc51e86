#pragma once

#include "Connection.h"
#include "FormDriver.h"
#include "Notebook.h"
#include "PagedResult.h"
#include "SearchIndex.h"
#include "Statements.h"
#include "UpDay.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

using Direction = Statements::List::Direction;
using From = Statements::List::From;
using Table = QVector<QVariantList>;
constexpr int kPage = PagedResult::kPageSize;
inline const QString kRegistered = QStringLiteral("登録しました");
inline const QString kDuplicate = QStringLiteral("データが重複しています");
inline const QString kDeleteQuestion = QStringLiteral("選択中のレコードを削除しますか");
inline const QString kNoHit = QStringLiteral("該当するデータがありません");

inline void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

inline double milliseconds(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The statements any connection of this process runs while `recording` is set, the store's included.
inline QStringList* recording = nullptr;

inline int traced(unsigned, void*, void* statement, void*)
{
    if (recording)
        *recording << QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

inline int traceConnection(sqlite3* db, const char**, const void*)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traced, nullptr);
    return SQLITE_OK;
}

inline void traceEveryConnection()
{
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceConnection));
}

// The reference: SQLite's C API, nothing in between; each call prepares afresh, as the store does.
class Raw {
public:
    explicit Raw(const QString& path, int busyMs = LockPatience::kBusyTimeoutMs)
    {
        const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        require(code == SQLITE_OK, QStringLiteral("cannot open %1: %2").arg(path, sqlite3_errstr(code)));
        sqlite3_busy_timeout(m_db, busyMs);
    }
    ~Raw() { sqlite3_close(m_db); }

    // Every row, each value as the engine holds it (whole numbers and texts).
    Table read(const QString& sql, const QVariantList& values = {})
    {
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &statement, nullptr);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(statement, sqlite3_finalize);
        for (int i = 0; code == SQLITE_OK && i < values.size(); ++i) {
            const QByteArray text = values[i].toString().toUtf8();
            const bool number =
                values[i].typeId() == QMetaType::Int || values[i].typeId() == QMetaType::LongLong;
            code = number ? sqlite3_bind_int64(statement, i + 1, values[i].toLongLong())
                          : sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                              SQLITE_TRANSIENT);
        }
        Table rows;
        while (code == SQLITE_OK && (code = sqlite3_step(statement)) == SQLITE_ROW) {
            QVariantList row;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                const auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                const bool number = sqlite3_column_type(statement, column) == SQLITE_INTEGER;
                row << (number ? QVariant(sqlite3_column_int64(statement, column))
                               : QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column))));
            }
            rows << row;
            code = SQLITE_OK;
        }
        require(code == SQLITE_DONE, QStringLiteral("sqlite: ") + sqlite3_errmsg(m_db));
        return rows;
    }
    qint64 number(const QString& sql, const QVariantList& values = {})
    {
        const Table rows = read(sql, values);
        return rows.isEmpty() ? -1 : rows[0][0].toLongLong();
    }
    // A result as a grid reads it: its first page, and when that is full its count, unless known.
    Table result(const Statements::List& list, const QVariantList& values, qint64 rows = -1)
    {
        const Table first =
            read(list.page(Direction::WithTheList, From::TheStart), values + QVariantList{kPage, 0});
        if (first.size() == kPage && rows < 0)
            number(list.count(), values);
        return first;
    }

private:
    sqlite3* m_db = nullptr;
};

// What the window runs to list the whole table: the count on a connection, then the list on another.
inline void rawWholeList(const QString& path, const Statements::List& list)
{
    const qint64 rows = Raw(path).result(Statements::kTotalCountList, {})[0][0].toLongLong();
    Raw(path).result(list, {}, rows);
}

// English-like words and Japanese meanings, the same on every machine (SplitMix64).
class Words {
public:
    // Bump whenever the output changes, so cached notebooks are made anew.
    static constexpr int kVersion = 2;
    explicit Words(quint64 seed)
        : m_state(seed)
    {}
    quint64 below(quint64 bound)
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return (z ^ (z >> 31)) % bound;
    }
    QString english()
    {
        static const QStringList prefixes =
            QStringLiteral("un re pre dis over in mis out sub inter under fore").split(QLatin1Char(' '));
        static const QStringList roots =
            QStringLiteral(
                "act art band bird book call care cast chart check child class cook count craft "
                "dream drive farm field fish flow form friend garden ground hand harm heart help "
                "hold home horse house joy judge kind king land light lock mark mind move name "
                "note paint part place plant play port power quest quick rain read rest right rock "
                "room run salt school sea sense shape ship sight sing sleep speak spring stand star "
                "start stone storm story street talk teach thought time track trust turn view "
                "voice walk watch water way wind wolf word work world write go ox up it")
                .split(QLatin1Char(' '));
        static const QStringList suffixes =
            QStringLiteral("s ed ing er ers ful less ness ly able ment ship ward y ish ation").split(' ');
        const quint64 kind = below(10);
        if (kind == 0)
            return coined();
        // Earlier roots are commoner, as words are in a language.
        QString word = roots[int(below(below(roots.size()) + 1))];
        if (kind == 1)
            word += roots[int(below(roots.size()))];
        if (below(4) == 0)
            word.prepend(prefixes[int(below(prefixes.size()))]);
        if (below(2) == 0)
            word += suffixes[int(below(suffixes.size()))];
        return word;
    }
    // 3 to 12 letters drawn with English letter frequencies (per mille): names and terms, some rare texts.
    QString coined()
    {
        static const int weights[26] = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8, 40, 24,
                                        67, 75, 19, 1,  60,  63, 91, 28, 10, 24, 2, 20, 1};
        QString word;
        for (int i = 3 + int(below(10)); i > 0; --i) {
            int pick = int(below(1003));
            int letter = 0;
            while (pick >= weights[letter])
                pick -= weights[letter++];
            word += QLatin1Char(char('a' + letter));
        }
        return word;
    }
    // 1 to 6 characters of hiragana and kanji.
    QString japanese()
    {
        static const QString kanji =
            QStringLiteral("日本語学生先年月時間人大小山川水火木金土上下中前後長高新古");
        QString meaning;
        for (int i = 1 + int(below(6)); i > 0; --i)
            meaning += below(2) ? QChar(char16_t(u'\u3042' + below(83))) : kanji[int(below(kanji.size()))];
        return meaning;
    }

private:
    quint64 m_state;
};

// A fresh copy of the cached notebook, named after the generator and the schema so either's change makes
// anew.
inline QString workingCopy(const QString& cache, int size, const QString& purpose)
{
    QTemporaryDir dir;
    Notebook::create(dir.filePath(QStringLiteral("schema.mdb")));
    QString schema;
    for (const QVariantList& row : Raw(dir.filePath(QStringLiteral("schema.mdb")))
                                       .read(QStringLiteral("select sql from sqlite_master order by name")))
        schema += row[0].toString();
    const QString digest =
        QCryptographicHash::hash(schema.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    const QString source =
        QStringLiteral("%1/words-%2-v%3-%4.mdb").arg(cache).arg(size).arg(Words::kVersion).arg(digest);
    require(QDir().mkpath(cache), QStringLiteral("cannot create ") + cache);
    if (!QFile::exists(source)) {
        std::fprintf(stderr, "Making a notebook of %d pairs...\n", size);
        const QString partial = source + QStringLiteral(".partial");
        QFile::remove(partial);
        Notebook::create(partial);
        Raw raw(partial);
        // Only for this connection: the notebook is written once, and thrown away if the program dies.
        raw.read(QStringLiteral("pragma synchronous = off"));
        raw.read(QStringLiteral("begin"));
        Words words(20240401);
        // Oldest first, UpDay spread over fifteen years from 2010.
        const qint64 step = qint64(15) * 365 * 86400 / size;
        const QDateTime start(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC);
        for (int row = 0; row < size; ++row) {
            const QString day = UpDay::format(start.addSecs(row * step + qint64(words.below(quint64(step)))));
            raw.read(Statements::kInsert, {day, words.english(), words.japanese()});
        }
        raw.read(QStringLiteral("commit"));
        require(QFile::rename(partial, source), QStringLiteral("cannot keep ") + source);
    }
    const QString copy = QStringLiteral("%1/%2-%3.mdb").arg(cache, purpose).arg(size);
    QFile::remove(copy);
    QFile::remove(copy + QStringLiteral("-journal"));
    require(QFile::copy(source, copy), QStringLiteral("cannot copy ") + source);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// What a running loop does after a command: layouts, paints (twice: the first pass posts), deleteLater.
inline void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline std::unique_ptr<FormDriver> openWindow(const QString& notebook)
{
    auto form = std::make_unique<FormDriver>(notebook);
    require(form->exit.statuses.isEmpty(), "ended at start-up: " + form->messages.takeTexts().join(' '));
    form->form->show();
    settle();
    return form;
}

// The boxes shown since last asked must be exactly `expected`.
inline void expectMessages(FormDriver& form, const QStringList& expected)
{
    const QStringList shown = form.messages.takeTexts();
    require(shown == expected,
            "the message boxes were [" + shown.join(" | ") + "], not [" + expected.join(" | ") + "]");
    require(form.exit.statuses.isEmpty(), QStringLiteral("the program asked to end"));
}

inline qint64 shownCount(const FormDriver& form)
{
    bool ok = false;
    const qint64 count =
        form.count().endsWith(QStringLiteral("件")) ? form.count().chopped(1).toLongLong(&ok) : 0;
    require(ok, QStringLiteral("the count label shows \"%1\", not a count").arg(form.count()));
    return count;
}

inline void press(FormDriver& form, const char* button)
{
    form.click(button);
    settle();
}

inline QString cell(FormDriver& form, int row, int column)
{
    return form.grid("DataGrid1")->model()->index(row, column).data().toString();
}

inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    require(status.open(QIODevice::ReadOnly), QStringLiteral("cannot read /proc/self/status"));
    const QString text = QString::fromLatin1(status.readAll());
    const QString field = text.mid(text.indexOf(QStringLiteral("VmRSS:")) + 6).section('\n', 0, 0);
    return field.simplified().section(' ', 0, 0).toDouble() * 1024.0 / 1e6;
}

int runBenchmark(const QStringList& sizes, int runs, const QString& cache);
int measureSize(const QString& notebook, int size, int runs);
int runSoak(int operations, int pairs, const QString& cache);
int runWriter(const QString& notebook);
