#include "WriterTally.h"

#include <QJsonArray>

QJsonObject WriterTally::toJson() const
{
    return {{"inserts", inserts},
            {"deletes", deletes},
            {"failures", failures},
            {"missing", missing},
            {"failureTexts", QJsonArray::fromStringList(failureTexts)}};
}

WriterTally WriterTally::fromJson(const QJsonObject& json)
{
    WriterTally tally;
    tally.inserts = json.value(QLatin1String("inserts")).toInt();
    tally.deletes = json.value(QLatin1String("deletes")).toInt();
    tally.failures = json.value(QLatin1String("failures")).toInt();
    tally.missing = json.value(QLatin1String("missing")).toInt();
    for (const QJsonValue& text : json.value(QLatin1String("failureTexts")).toArray())
        tally.failureTexts << text.toString();
    return tally;
}
