#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Turns a word file's bytes into text. Files come as UTF-8 (with or without a byte-order mark) or, when
// saved by a Japanese spreadsheet, as Shift_JIS in its Windows form (CP932).
class TextDecoder {
public:
    enum class Encoding { Utf8, ShiftJis };

    struct Decoded {
        QString text;
        Encoding encoding;
    };

    // "utf-8", "shift_jis" and their common other names; nothing for a name it does not know.
    static std::optional<Encoding> encodingNamed(const QString& name);
    static QString nameOf(Encoding encoding);

    // Decodes with the encoding given, or detects it. Throws ExchangeError naming the first line whose
    // bytes are not text in that encoding.
    static Decoded decode(const QByteArray& bytes, std::optional<Encoding> encoding = std::nullopt);

private:
    static Encoding detect(const QByteArray& bytes);
    static QString decodeLines(const QByteArray& bytes, Encoding encoding);
};
