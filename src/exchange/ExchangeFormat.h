#pragma once

#include <QString>

#include <optional>

// The layouts export writes. Import reads all of them and plain two-column lists besides; the mnemosyne
// layout's character references are read as they stand, as it is meant for Mnemosyne alone.
enum class ExchangeFormat { Anki, Csv, Tsv, Mnemosyne };

inline std::optional<ExchangeFormat> exchangeFormatNamed(const QString& name)
{
    if (name == QLatin1String("anki"))
        return ExchangeFormat::Anki;
    if (name == QLatin1String("csv"))
        return ExchangeFormat::Csv;
    if (name == QLatin1String("tsv"))
        return ExchangeFormat::Tsv;
    if (name == QLatin1String("mnemosyne"))
        return ExchangeFormat::Mnemosyne;
    return std::nullopt;
}
