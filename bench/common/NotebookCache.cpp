#include "NotebookCache.h"

#include "Notebook.h"
#include "RawSqlite.h"
#include "RawStatement.h"
#include "Statements.h"
#include "WordGenerator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {
constexpr quint64 kWordSeed = 20240401;
constexpr quint64 kTimeSeed = 19700101;
// UpDay runs from 2010/01/01 over about fifteen years, oldest row first, as a notebook grows.
constexpr qint64 kFirstDay = 14610; // days from 1970/01/01 to 2010/01/01
constexpr qint64 kSpanSeconds = qint64(15) * 365 * 86400;

// Days since 1970/01/01 to year, month and day of the proleptic Gregorian calendar.
void civilFromDays(qint64 days, int* year, int* month, int* day)
{
    days += 719468;
    const qint64 era = days / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    *day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    *month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    *year = int(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

QByteArray upDay(qint64 secondsFromFirstDay)
{
    int year = 0, month = 0, day = 0;
    civilFromDays(kFirstDay + secondsFromFirstDay / 86400, &year, &month, &day);
    const qint64 second = secondsFromFirstDay % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, int(second / 3600),
                  int(second / 60 % 60), int(second % 60));
    return QByteArray(text);
}

void fill(RawSqlite& db, int size)
{
    // Only for this connection, not kept in the file: the notebook is written once and thrown away
    // if the program dies half way.
    db.exec("pragma synchronous = off");
    db.exec("pragma cache_size = -262144");
    db.exec("begin");
    RawStatement insert(db.handle(), Statements::kInsert);
    WordGenerator words(kWordSeed);
    WordGenerator times(kTimeSeed);
    const qint64 step = kSpanSeconds / size;
    for (int row = 0; row < size; ++row) {
        const qint64 second = row * step + qint64(times.below(quint64(step)));
        insert.bind({upDay(second), QString::fromUtf8(words.english()), QString::fromUtf8(words.japanese())});
        insert.step();
        insert.reset();
    }
    db.exec("commit");
}
} // namespace

NotebookCache::NotebookCache(QString folder)
    : m_folder(std::move(folder))
{
    if (!QDir().mkpath(m_folder))
        throw std::runtime_error("cannot create " + m_folder.toStdString());
}

QString NotebookCache::notebook(int size)
{
    const QString path = QStringLiteral("%1/words-%2-g%3-%4.mdb")
                             .arg(m_folder)
                             .arg(size)
                             .arg(WordGenerator::kVersion)
                             .arg(schemaTag());
    if (!QFile::exists(path)) {
        removeStale(size, path);
        const QString partial = path + QStringLiteral(".partial");
        QFile::remove(partial);
        generate(partial, size);
        if (!QFile::rename(partial, path))
            throw std::runtime_error("cannot rename " + partial.toStdString());
    }
    return path;
}

QString NotebookCache::workingCopy(int size, const QString& purpose)
{
    const QString source = notebook(size);
    const QString copy = QStringLiteral("%1/%2-%3.mdb").arg(m_folder, purpose).arg(size);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(copy + QLatin1String(suffix));
    if (!QFile::copy(source, copy))
        throw std::runtime_error("cannot copy " + source.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

QString NotebookCache::schemaTag()
{
    if (!m_schemaTag.isEmpty())
        return m_schemaTag;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("schema.mdb"));
    Notebook::create(path);
    RawSqlite db(path);
    const QList<QByteArray> schema =
        db.firstRow("select group_concat(sql, ';') from (select sql from sqlite_master order by type, name)");
    const QByteArray journal = db.firstRow("pragma journal_mode").value(0);
    const QByteArray digest =
        QCryptographicHash::hash(schema.value(0) + ';' + journal, QCryptographicHash::Sha1).toHex();
    m_schemaTag = QString::fromLatin1(digest.left(10));
    return m_schemaTag;
}

void NotebookCache::generate(const QString& path, int size)
{
    std::fprintf(stderr, "Making a notebook of %d pairs...\n", size);
    QElapsedTimer timer;
    timer.start();
    Notebook::create(path);
    {
        RawSqlite db(path);
        fill(db, size);
    }
    std::fprintf(stderr, "  done in %.1f s\n", double(timer.elapsed()) / 1000.0);
}

void NotebookCache::removeStale(int size, const QString& keep)
{
    const QDir dir(m_folder);
    const QStringList old = dir.entryList({QStringLiteral("words-%1-*.mdb*").arg(size)}, QDir::Files);
    for (const QString& name : old) {
        if (dir.filePath(name) != keep)
            QFile::remove(dir.filePath(name));
    }
}
