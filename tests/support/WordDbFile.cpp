#include "WordDbFile.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>

// The layout follows the Jet 4 notes of mdbtools (HACKING): 4 KiB pages, no indexes.
namespace {
constexpr int kPage = 4096;
struct Column {
    char type; // fixed: 0x03 integer, 0x04 long, 0x08 Date/Time; variable: 0x0a text, 0x0b OLE
    int size;  // in bytes
    QString name;
    bool fixed() const { return type < 0x09; }
};

QByteArray le(quint32 value, int size)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes.left(size);
}
void put(QByteArray& page, int at, quint32 value, int size)
{
    page.replace(at, size, le(value, size));
}
QByteArray ucs2(const QString& text)
{
    return text.isNull() ? QByteArray()
                         : QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Fixed columns come first, so a variable value's offset is known when it is written.
QByteArray definition(const QVector<Column>& columns, int rows, quint32 usageMap)
{
    QByteArray page(kPage, '\0'), names;
    page[0] = 2, page[1] = 1, page[40] = 0x4e;
    int fixedAt = 0, variables = 0;
    for (int i = 0, at = 63; i < columns.size(); ++i, at += 25) {
        const Column& c = columns.at(i);
        page[at] = c.type, page[at + 15] = c.fixed() ? 0x03 : 0x02;
        put(page, at + 5, i, 2), put(page, at + 7, c.fixed() ? 0 : variables++, 2), put(page, at + 9, i, 2);
        put(page, at + 11, c.fixed() ? 0 : 0x409, 2), put(page, at + 21, c.fixed() ? fixedAt : 0, 2);
        put(page, at + 23, c.size, 2);
        fixedAt += c.fixed() ? c.size : 0;
        names += le(c.name.size() * 2, 2) + ucs2(c.name);
    }
    page.replace(63 + 25 * columns.size(), names.size(), names);
    put(page, 8, 63 + 25 * columns.size() + names.size(), 4), put(page, 16, rows, 4);
    put(page, 41, columns.size(), 2), put(page, 43, variables, 2), put(page, 45, columns.size(), 2);
    put(page, 55, usageMap, 4), put(page, 59, usageMap, 4);
    return page;
}

// Column count, fixed values, variable values, then the end of the data, the variable values' offsets
// last to first, their count and the null mask (a set bit: not Null).
QByteArray row(const QVector<Column>& columns, const QVector<QByteArray>& values)
{
    QByteArray fixed, variable, offsets, mask((columns.size() + 7) / 8, '\0');
    for (int i = 0; i < columns.size(); ++i) {
        mask[i / 8] = char(mask[i / 8] | (values[i].isNull() ? 0 : 1 << i % 8));
        if (columns[i].fixed())
            fixed += values[i].isNull() ? QByteArray(columns[i].size, '\0') : values[i];
        else
            offsets.prepend(le(2 + fixed.size() + variable.size(), 2)), variable += values[i];
    }
    const int count = offsets.size() / 2;
    return le(columns.size(), 2) + fixed + variable + le(2 + fixed.size() + variable.size(), 2) + offsets +
           le(count, 2) + mask;
}

// Data pages of the table defined on page owner, rows stored from the end of each page towards its head.
QVector<QByteArray> dataPages(int owner, const QVector<QByteArray>& rows)
{
    QVector<QByteArray> pages;
    int count = 0, end = 0;
    for (const QByteArray& r : rows) {
        if (pages.isEmpty() || 16 + 2 * count + r.size() > end) {
            pages << QByteArray(kPage, '\0'), count = 0, end = kPage;
            pages.last()[0] = 1, pages.last()[1] = 1, put(pages.last(), 4, owner, 4);
        }
        end -= r.size();
        pages.last().replace(end, r.size(), r);
        put(pages.last(), 14 + 2 * count, end, 2), put(pages.last(), 12, ++count, 2);
    }
    return pages;
}

// A usage map of type 0: from page 0 on, a set bit for each page of the table.
QByteArray usageMap(int first, int pages)
{
    QByteArray map = le(0, 1) + le(0, 4) + QByteArray((first + pages) / 8 + 1, '\0');
    for (int page = first; page < first + pages; ++page)
        map[5 + page / 8] = char(map[5 + page / 8] | 1 << page % 8);
    return map;
}

double days(const QString& upDay)
{
    const QDateTime moment = QDateTime::fromString(upDay, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return QDate(1899, 12, 30).daysTo(moment.date()) + moment.time().msecsSinceStartOfDay() / 86400000.0;
}
} // namespace

void writeWordDb(const QString& path, const QVector<QStringList>& rows, bool dateUpDay, int countedRows)
{
    // Page 0, the database's header, as Access wrote it for an empty Jet 4 database.
    QFile header(QStringLiteral(ACCESS_FIXTURES "/emptyJet4.mdb"));
    header.open(QIODevice::ReadOnly);
    // Page 1 holds the usage maps, 2 and 3 the catalog MSysObjects, 4 and on the table wordDB.
    const QVector<Column> catalog = {
        {0x04, 4, "Id"}, {0x03, 2, "Type"}, {0x04, 4, "Flags"}, {0x0a, 510, "Name"}, {0x0b, 0, "LvProp"}};
    const QVector<Column> words = {{char(dateUpDay ? 0x08 : 0x0a), dateUpDay ? 8 : 510, "UpDay"},
                                   {0x0a, 510, "English"},
                                   {0x0a, 510, "Japanese"}};
    QVector<QByteArray> wordRows;
    for (const QStringList& r : rows) {
        QByteArray upDay = ucs2(r[0]);
        if (dateUpDay && !r[0].isNull()) {
            const double value = days(r[0]);
            upDay = QByteArray(reinterpret_cast<const char*>(&value), 8);
        }
        wordRows << row(words, {upDay, ucs2(r[1]), ucs2(r[2])});
    }
    const QVector<QByteArray> wordPages = dataPages(4, wordRows);
    const QVector<QByteArray> catalogPages =
        dataPages(2, {row(catalog, {le(4, 4), le(1, 2), le(0, 4), ucs2("wordDB"), {}})});
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(header.read(kPage));
    QVector<QByteArray> pages = dataPages(0, {usageMap(3, 1), usageMap(5, wordPages.size())});
    pages << definition(catalog, 1, 0x100) << catalogPages
          << definition(words, countedRows < 0 ? rows.size() : countedRows, 0x101) << wordPages;
    for (const QByteArray& page : pages)
        file.write(page);
}
