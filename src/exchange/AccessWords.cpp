#include "AccessReader.h"

#include "TextLimits.h"
#include "UpDay.h"

#include <QFile>

// What needs no library, so that a build without the Access reader still knows an Access file when it
// sees one.
namespace AccessReader {

bool recognises(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    return head.size() == 20 && head.startsWith(QByteArray("\0\1\0\0", 4)) &&
           (head.mid(4) == QByteArray("Standard Jet DB\0", 16) ||
            head.mid(4) == QByteArray("Standard ACE DB\0", 16));
}

} // namespace AccessReader

AccessWords readAccessWords(const QString& path)
{
    const AccessReader::Table table =
        AccessReader::read(path, QStringLiteral("wordDB"),
                           {QStringLiteral("UpDay"), QStringLiteral("English"), QStringLiteral("Japanese")});
    AccessWords read;
    read.replacedRows = table.replacedRows;
    for (int i = 0; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows.at(i);
        // White space at either end is no part of a word, and white space alone is no word.
        const QString english = row.at(1).trimmed();
        const QString japanese = row.at(2).trimmed();
        if (english.isEmpty() || japanese.isEmpty()) {
            read.emptyRows << i + 1;
            continue;
        }
        read.words << WordRecord{UpDay::normalized(row.at(0)), english, japanese};
        if (english.size() > TextLimits::kEnglish || japanese.size() > TextLimits::kJapanese)
            ++read.longPairs;
    }
    return read;
}
