#include "TextDecoder.h"

#include "ExchangeError.h"
#include "ShiftJis.h"

#include <QStringDecoder>

namespace {
using TextDecoder::Encoding;

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// Lines are decoded one at a time, each as if it began a file: the file's own byte-order mark is taken
// off before, so one that starts a line is a character of the text and must be kept.
// Neither encoding uses the byte 0x0A inside a character, so lines can be cut before decoding and the
// first bad one named. A NUL byte is no character a word list holds: it marks a binary file.
bool decodesCleanly(Encoding encoding, QByteArrayView line, QString* out)
{
    if (line.contains('\0'))
        return false;
    std::optional<QString> text;
    if (encoding == Encoding::ShiftJis) {
        text = decodeShiftJis(line);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8,
                            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        text = utf8.decode(line);
        if (utf8.hasError())
            text.reset();
    }
    if (!text)
        return false;
    if (out)
        out->append(*text);
    return true;
}

bool hasNonAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

bool startsWithUtf16Bom(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString nameOf(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift_JIS");
}

// UTF-8 unless the bytes fail as UTF-8 before any character beyond ASCII has decoded as UTF-8: a UTF-8
// file with one damaged line is reported as such rather than read as Shift_JIS nonsense.
Encoding detect(const QByteArray& bytes)
{
    bool sawNonAscii = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView line(bytes.constData() + start, end - start);
        if (!decodesCleanly(Encoding::Utf8, line, nullptr))
            return sawNonAscii ? Encoding::Utf8 : Encoding::ShiftJis;
        sawNonAscii = sawNonAscii || hasNonAscii(line);
        start = end;
    }
    return Encoding::Utf8;
}

QString decodeLines(const QByteArray& bytes, Encoding encoding)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    for (int line = 1; start < bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        if (!decodesCleanly(encoding, QByteArrayView(bytes.constData() + start, end - start), &text))
            throw ExchangeError(line, ExchangeError::tr("bytes that are not %1 text").arg(nameOf(encoding)));
        start = end;
    }
    return text;
}
} // namespace

std::optional<Encoding> TextDecoder::encodingNamed(const QString& name)
{
    const QString key = name.toLower().remove(QLatin1Char('-')).remove(QLatin1Char('_'));
    if (key == QLatin1String("utf8"))
        return Encoding::Utf8;
    if (key == QLatin1String("shiftjis") || key == QLatin1String("sjis") || key == QLatin1String("cp932") ||
        key == QLatin1String("windows31j") || key == QLatin1String("ms932"))
        return Encoding::ShiftJis;
    return std::nullopt;
}

QString TextDecoder::decode(const QByteArray& bytes, std::optional<Encoding> encoding)
{
    if (startsWithUtf16Bom(bytes))
        throw ExchangeError(1, ExchangeError::tr("UTF-16 files are not read; save the file as CSV UTF-8"));
    const bool bom = bytes.startsWith(kUtf8Bom);
    const Encoding chosen = bom ? Encoding::Utf8 : encoding.value_or(detect(bytes));
    return decodeLines(bom ? bytes.mid(kUtf8Bom.size()) : bytes, chosen);
}
