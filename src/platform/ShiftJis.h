#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Shift_JIS in its Windows form (code page 932: the NEC and IBM extensions, U+FF5E for the wave dash), as
// Japanese spreadsheets write it, whatever code page the system itself runs in. Nothing when the bytes are
// not Shift_JIS text.
std::optional<QString> decodeShiftJis(QByteArrayView bytes);
