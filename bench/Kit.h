#pragma once

#include "FormDriver.h"
#include "Notebook.h"
#include "PagedResult.h"
#include "Statements.h"
#include "UpDay.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <sqlite3.h>

#include <climits>
#include <cstdio>
#include <stdexcept>

// What the one program was asked to do: measure, soak, or be the soak's writer.
struct Options {
    std::vector<int> sizes;
    bool soak = false;
    int runs = 5, operations = 10000, pairs = 100000;
    quint64 seed = 1;
    // The ids of the commands to time (all when empty).
    QStringList only;
    // out, cache; child: the notebook of a process measuring one size; writer, progress: the soak's writer's.
    QMap<QString, QString> paths;
};

int runBenchmark(const Options& options);
int measureChild(const Options& options);
int runSoak(const Options& options);
int runWriter(const Options& options);

inline const QString kRegistered = QStringLiteral("登録しました");
inline const QString kDuplicate = QStringLiteral("データが重複しています");
inline const QString kDeleteQuestion = QStringLiteral("選択中のレコードを削除しますか");
inline const QString kNoHit = QStringLiteral("該当するデータがありません");

// A failed check stops the run with a sentence saying what went wrong.
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

// A connection of its own through SQLite's C API: it fills notebooks, times the store's statements with
// nothing of the toolkit in between, and checks the file. Each call prepares afresh, as the store does.
class Raw {
public:
    explicit Raw(const QString& path, int busyMs = 1000)
    {
        const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        require(code == SQLITE_OK, QStringLiteral("cannot open %1: %2").arg(path, sqlite3_errstr(code)));
        sqlite3_busy_timeout(m_db, busyMs);
    }
    ~Raw() { sqlite3_close(m_db); }

    // Runs the statement, reading at most maxRows rows with every column as text, as a grid shows them;
    // returns the rows read, and the first row's texts in `first`.
    int read(const QString& sql, const QVariantList& values = {}, int maxRows = INT_MAX,
             QStringList* first = nullptr, QVector<QVariantList>* all = nullptr)
    {
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &statement, nullptr);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(statement, sqlite3_finalize);
        for (int i = 0; code == SQLITE_OK && i < values.size(); ++i) {
            if (values[i].typeId() == QMetaType::Int) {
                code = sqlite3_bind_int64(statement, i + 1, values[i].toLongLong());
            } else {
                const QByteArray text = values[i].toString().toUtf8();
                code =
                    sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
        }
        int rows = 0;
        while (code == SQLITE_OK && rows < maxRows && (code = sqlite3_step(statement)) == SQLITE_ROW) {
            QVariantList row;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                const QByteArray text(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                      sqlite3_column_bytes(statement, column));
                if (first && rows == 0)
                    *first << QString::fromUtf8(text);
                if (all)
                    row << (sqlite3_column_type(statement, column) == SQLITE_INTEGER
                                ? QVariant(int(sqlite3_column_int64(statement, column)))
                                : QVariant(QString::fromUtf8(text)));
            }
            if (all)
                all->append(row);
            code = SQLITE_OK;
            ++rows;
        }
        require(code == SQLITE_OK || code == SQLITE_DONE, QStringLiteral("sqlite: ") + sqlite3_errmsg(m_db));
        return rows;
    }
    QStringList firstRow(const QString& sql, const QVariantList& values = {})
    {
        QStringList row;
        read(sql, values, 1, &row);
        return row;
    }
    qint64 number(const QString& sql, const QVariantList& values = {})
    {
        return firstRow(sql, values).value(0).toLongLong();
    }
    // A whole-table list as the store reads it: the count shown under the list, which is the list's length,
    // then the first page.
    void list(const Statements::List& list)
    {
        number(Statements::kTotalCount);
        read(list.page(false, false), {PagedResult::kPageSize, 0});
    }
    // As the store read it before: the first page, the table's length when that page is full, then the
    // count shown under the list.
    void listBefore(const QString& statement)
    {
        if (read(statement + Statements::kPage, {PagedResult::kPageSize, 0}) == PagedResult::kPageSize)
            number(Statements::kTableLength);
        number(Statements::kTotalCount);
    }
    // Deterministic pairs, oldest first, UpDay spread over fifteen years from 2010.
    void fill(int size);

private:
    sqlite3* m_db = nullptr;
};

// Made-up words from SplitMix64 and arithmetic of its own, the same on every machine, so a notebook of
// 10 000 pairs holds the first 10 000 of the one of 1 000 000.
class Words {
public:
    // Bump whenever the output changes, so cached notebooks are made anew.
    static constexpr int kVersion = 1;
    explicit Words(quint64 seed)
        : m_state(seed)
    {
        QString kana;
        for (char16_t c = u'\u3042'; c <= u'\u3093'; ++c)
            kana += QChar(c);
        for (char16_t c = u'\u30A2'; c <= u'\u30F3'; ++c)
            kana += QChar(c);
        const QString kanji =
            QStringLiteral("日本語学生先年月時間人大小山川水火木金土上下中左右前後東西南北長高新古早明"
                           "白黒赤青言話読書見聞食飲行来出入立休走歩買売教習知思考作使持待言葉意味単語");
        for (QChar c : kana + kanji)
            m_pools[c < QChar(u'\u30A2') ? 0 : c <= QChar(u'\u30F3') ? 1 : 2].push_back(QString(c).toUtf8());
    }
    quint64 below(quint64 bound)
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return (z ^ (z >> 31)) % bound;
    }
    // 3 to 12 lowercase letters drawn with English letter frequencies (per mille), so some texts are common.
    QByteArray english()
    {
        static const int weights[26] = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8, 40, 24,
                                        67, 75, 19, 1,  60,  63, 91, 28, 10, 24, 2, 20, 1};
        QByteArray word;
        for (int i = 3 + int(below(10)); i > 0; --i) {
            int pick = int(below(1003)), letter = 0; // the weights' total
            while (pick >= weights[letter])
                pick -= weights[letter++];
            word.append(char('a' + letter));
        }
        return word;
    }
    // 1 to 6 characters of hiragana, katakana and kanji.
    QByteArray japanese()
    {
        QByteArray meaning;
        for (int i = 1 + int(below(6)); i > 0; --i) {
            const quint64 kind = below(10);
            const std::vector<QByteArray>& pool = m_pools[kind < 4 ? 0 : kind < 6 ? 1 : 2];
            meaning += pool[below(pool.size())];
        }
        return meaning;
    }

private:
    quint64 m_state;
    std::vector<QByteArray> m_pools[3];
};

inline void Raw::fill(int size)
{
    // Only for this connection: the notebook is written once, and thrown away if the program dies.
    read(QStringLiteral("pragma synchronous = off"));
    read(QStringLiteral("pragma cache_size = -262144"));
    read(QStringLiteral("begin"));
    Words words(20240401), times(19700101);
    const qint64 step = qint64(15) * 365 * 86400 / size;
    for (int row = 0; row < size; ++row) {
        const qint64 second = row * step + qint64(times.below(quint64(step)));
        read(Statements::kInsert,
             {UpDay::format(QDateTime(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC).addSecs(second)),
              QString::fromUtf8(words.english()), QString::fromUtf8(words.japanese())});
    }
    read(QStringLiteral("commit"));
}

// A fresh, writable copy of the cached notebook of `size` pairs (made first when missing), named after
// `purpose` so the benchmark and the soak do not replace each other's copies.
inline QString workingCopy(const QString& cache, int size, const QString& purpose)
{
    // The kept notebook is named after its size, the generator's version and a digest of the schema
    // Notebook::create makes, so a change to either makes a new one.
    QTemporaryDir dir;
    Notebook::create(dir.filePath(QStringLiteral("schema.mdb")));
    Raw schema(dir.filePath(QStringLiteral("schema.mdb")));
    const QString digest = schema.firstRow(QStringLiteral(
                               "select group_concat(sql, ';') from (select sql from sqlite_master order "
                               "by type, name)"))[0] +
                           ';' + schema.firstRow(QStringLiteral("pragma journal_mode"))[0];
    const QString source =
        QStringLiteral("%1/words-%2-g%3-%4.mdb")
            .arg(cache)
            .arg(size)
            .arg(Words::kVersion)
            .arg(QCryptographicHash::hash(digest.toUtf8(), QCryptographicHash::Sha1).toHex().left(10));
    require(QDir().mkpath(cache), QStringLiteral("cannot create ") + cache);
    if (!QFile::exists(source)) {
        for (const QString& old : QDir(cache).entryList({QStringLiteral("words-%1-*.mdb*").arg(size)}))
            QFile::remove(cache + '/' + old);
        std::fprintf(stderr, "Making a notebook of %d pairs...\n", size);
        const QString partial = source + QStringLiteral(".partial");
        const double ms = milliseconds([&] {
            Notebook::create(partial);
            Raw(partial).fill(size);
        });
        require(QFile::rename(partial, source), QStringLiteral("cannot keep ") + source);
        std::fprintf(stderr, "  done in %.1f s\n", ms / 1000.0);
    }
    const QString copy = QStringLiteral("%1/%2-%3.mdb").arg(cache, purpose).arg(size);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(copy + QLatin1String(suffix));
    require(QFile::copy(source, copy), QStringLiteral("cannot copy ") + source);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// The window on the notebook, shown offscreen (the next settle paints its first frame); `watch` sees the
// list's events from the first. Throws when the program asked to end.
inline std::unique_ptr<FormDriver> openWindow(const QString& notebook, QObject* watch = nullptr)
{
    auto form = std::make_unique<FormDriver>(notebook);
    require(!form->ended(), "the program ended at start-up: " + form->messages.takeTexts().join(' '));
    if (watch)
        form->grid("DataGrid1")->viewport()->installEventFilter(watch);
    form->form->show();
    return form;
}

// Makes the row current and scrolls so that it is the last one in view (or the first).
inline void showRowAtBottom(FormDriver& form, int row,
                            QAbstractItemView::ScrollHint where = QAbstractItemView::PositionAtBottom)
{
    DataGrid* list = form.grid("DataGrid1");
    const QModelIndex index = list->model()->index(row, 0);
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(index, where);
}

// The texts of the boxes shown since last asked; throws on any outside `allowed` (on any other list of
// them when `exactly`), a question left unanswered, an answer left over, or an ended program.
inline QStringList takeMessages(FormDriver& form, const QStringList& allowed, bool exactly = false)
{
    const QStringList shown = form.messages.takeTexts();
    for (const QString& text : shown)
        require(allowed.contains(text), "a message box said: " + text.simplified());
    require(!exactly || shown == allowed,
            "the message boxes were " + shown.join(" | ") + ", not " + allowed.join(" | "));
    require(form.messages.unexpected().isEmpty(),
            "a question came with no answer: " + form.messages.unexpected().join(' '));
    require(form.messages.pendingAnswers() == 0,
            QStringLiteral("an answer was left for a question never asked"));
    require(!form.ended(), QStringLiteral("the program asked to end"));
    return shown;
}

inline qint64 shownCount(const FormDriver& form)
{
    bool ok = false;
    const qint64 count =
        form.count().endsWith(QStringLiteral("件")) ? form.count().chopped(1).toLongLong(&ok) : 0;
    require(ok, QStringLiteral("the count label shows \"%1\", not a count").arg(form.count()));
    return count;
}

// The value of the first "key: value" line of a /proc file.
inline QString procField(const char* file, const char* key)
{
    QFile proc{QString::fromLatin1(file)};
    const QString text = proc.open(QIODevice::ReadOnly) ? QString::fromUtf8(proc.readAll()) : QString();
    const qsizetype at = text.indexOf(QLatin1String(key));
    return at < 0 ? QString() : text.mid(at).section('\n', 0, 0).section(':', 1).trimmed();
}

// VmRSS of this process in MB (10^6 bytes).
inline double residentMb()
{
    return procField("/proc/self/status", "VmRSS").section(' ', 0, 0).toDouble() * 1024.0 / 1e6;
}

inline QJsonObject machineJson()
{
    const QString model = procField("/proc/cpuinfo", "model name");
    return {{"processor", model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model},
            {"cores", QThread::idealThreadCount()},
            {"kernel", QSysInfo::kernelType() + ' ' + QSysInfo::kernelVersion()},
            {"os", QSysInfo::prettyProductName()},
            {"qt", qVersion()},
            {"sqlite", sqlite3_libversion()}};
}

inline QString machine()
{
    const QJsonObject m = machineJson();
    return QString::asprintf("%s, %d cores, %s, Qt %s, SQLite %s", qPrintable(m["processor"].toString()),
                             m["cores"].toInt(), qPrintable(m["kernel"].toString()), qVersion(),
                             sqlite3_libversion());
}
