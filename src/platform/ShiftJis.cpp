#include "ShiftJis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QStringDecoder>
#endif

std::optional<QString> decodeShiftJis(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
#ifdef _WIN32
    // Windows' own table, named by number rather than taken from the system's locale.
    constexpr UINT kShiftJis = 932;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length == 0)
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(), size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
#else
    // Qt reaches Shift_JIS through ICU, whose table for it is the Windows one.
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError())
        return std::nullopt;
    return text;
#endif
}
