#pragma once

#include <QString>

#include <optional>

// The layouts export writes. Import reads all of them and plain two-column lists besides.
enum class ExchangeFormat { Anki, Csv, Tsv };

inline std::optional<ExchangeFormat> exchangeFormatNamed(const QString& name)
{
    if (name == QLatin1String("anki"))
        return ExchangeFormat::Anki;
    if (name == QLatin1String("csv"))
        return ExchangeFormat::Csv;
    if (name == QLatin1String("tsv"))
        return ExchangeFormat::Tsv;
    return std::nullopt;
}
