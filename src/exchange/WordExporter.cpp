#include "WordExporter.h"

#include "Connection.h"
#include "WordFileWriter.h"

namespace WordExporter {

Report write(Connection& connection, QIODevice& device, ExchangeFormat format)
{
    // Pairs of the same second come in the order the newest-first list shows them, decided by their
    // texts alone, so a notebook rebuilt from its export exports the same bytes again.
    auto rows = connection.execute(QStringLiteral("select UpDay, English, Japanese from wordDB "
                                                  "order by UpDay desc, English desc, Japanese desc"));
    WordFileWriter writer(device, format);
    int count = 0;
    WordRecord word;
    while (rows->next()) {
        word.upDay = rows->value(0).toString();
        word.english = rows->value(1).toString();
        word.japanese = rows->value(2).toString();
        writer.write(word);
        ++count;
    }
    return {count - int(writer.leftOut.size()), writer.tabsAsSpaces, writer.leftOut, writer.nulsReplaced};
}

} // namespace WordExporter
