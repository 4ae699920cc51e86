#include "SizeResult.h"

#include <QJsonArray>

namespace {
QJsonArray toArray(const Samples& samples)
{
    QJsonArray values;
    for (double ms : samples.values())
        values.append(ms);
    return values;
}

Samples fromArray(const QJsonValue& json)
{
    Samples samples;
    for (const QJsonValue& value : json.toArray())
        samples.add(value.toDouble());
    return samples;
}

QJsonObject toJson(const CommandResult& command)
{
    QJsonObject json{{"id", command.id},
                     {"label", command.label},
                     {"tessimor_ms", command.tessimor.median()},
                     {"tessimor_samples_ms", toArray(command.tessimor)},
                     {"tessimor_painting_ms", command.painting.median()},
                     {"tessimor_painting_samples_ms", toArray(command.painting)}};
    if (!command.raw.isEmpty()) {
        json.insert("raw_sqlite_ms", command.raw.median());
        json.insert("raw_sqlite_samples_ms", toArray(command.raw));
    }
    return json;
}

CommandResult commandFromJson(const QJsonObject& json)
{
    return {json.value("id").toString(), json.value("label").toString(),
            fromArray(json.value("tessimor_samples_ms")),
            fromArray(json.value("tessimor_painting_samples_ms")),
            fromArray(json.value("raw_sqlite_samples_ms"))};
}
} // namespace

const CommandResult* SizeResult::command(const QString& id) const
{
    for (const CommandResult& result : commands) {
        if (result.id == id)
            return &result;
    }
    return nullptr;
}

QJsonObject SizeResult::toJson() const
{
    QJsonArray list;
    for (const CommandResult& result : commands)
        list.append(::toJson(result));
    QJsonObject hits;
    for (auto it = searchHits.cbegin(); it != searchHits.cend(); ++it)
        hits.insert(it.key(), it.value());
    return {{"pairs", size},
            {"commands", list},
            {"resident_mb_after_jump_to_end", residentMb},
            {"resident_mb_before_window", residentBeforeWindowMb},
            {"search_hits", hits}};
}

SizeResult SizeResult::fromJson(const QJsonObject& json)
{
    SizeResult result;
    result.size = json.value("pairs").toInt();
    for (const QJsonValue& command : json.value("commands").toArray())
        result.commands.push_back(commandFromJson(command.toObject()));
    result.residentMb = json.value("resident_mb_after_jump_to_end").toDouble();
    result.residentBeforeWindowMb = json.value("resident_mb_before_window").toDouble();
    const QJsonObject hits = json.value("search_hits").toObject();
    for (auto it = hits.begin(); it != hits.end(); ++it)
        result.searchHits.insert(it.key(), it.value().toInteger());
    return result;
}
