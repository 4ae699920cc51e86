#pragma once

#include <QFont>
#include <QStringList>

// The face the window's design asks for, then proportional ones that draw Japanese on Debian and Wine:
// under a Japanese locale the system's own choice may be a monospaced face.
inline QFont japaneseFont(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("VL PGothic")});
    font.setPointSizeF(points);
    return font;
}
