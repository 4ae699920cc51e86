#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Turns a word file's bytes into text. Files come as UTF-8 (with or without a byte-order mark) or, when
// saved by a Japanese spreadsheet, as Shift_JIS in its Windows form (CP932).
namespace TextDecoder {

enum class Encoding { Utf8, ShiftJis };

// "utf-8", "shift_jis" and their common other names; nothing for a name it does not know.
std::optional<Encoding> encodingNamed(const QString& name);

// Decodes with the encoding given, or detects it. Throws ExchangeError naming the first line whose bytes
// are not text in that encoding.
QString decode(const QByteArray& bytes, std::optional<Encoding> encoding = std::nullopt);

} // namespace TextDecoder
