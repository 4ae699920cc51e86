#include "StoreError.h"

namespace {
// SQLite's primary result codes (the low byte of an extended code).
constexpr int kLocked = 6;
constexpr int kReadOnly = 8;
constexpr int kIoErr = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kTooBig = 18;
constexpr int kNotADb = 26;

QString headline(int code)
{
    switch (code & 0xff) {
    case StoreError::kBusy:
    case kLocked:
        return QStringLiteral(
            "データベースが他のプログラムに使用されています。しばらくしてからもう一度お試しください。");
    case kReadOnly:
        return QStringLiteral(
            "データベースに書き込めません。ファイルやフォルダの書き込み権限を確認してください。");
    case kFull:
        return QStringLiteral("ディスクの空き容量が足りないため、書き込めませんでした。");
    case kIoErr:
        return QStringLiteral(
            "データベースの読み書き中にエラーが発生しました。ディスクの空き容量などを確認してください。");
    case kCorrupt:
    case kNotADb:
        return QStringLiteral("データベースファイルが壊れています。");
    case kCantOpen:
        return QStringLiteral("データベースファイルを開けません。");
    case kTooBig:
        return QStringLiteral("入力された文字が長すぎます。");
    default:
        return QStringLiteral("データベースの処理中にエラーが発生しました。");
    }
}
} // namespace

QString StoreError::userMessage() const
{
    // The engine refuses very long search patterns with a general error; say what the learner can do.
    if (m_engineText.contains(QLatin1String("pattern too complex")))
        return QStringLiteral("検索する文字が長すぎます。短くしてもう一度お試しください。\n\n") +
               m_engineText;
    return headline(m_engineCode) + QStringLiteral("\n\n") + m_engineText;
}
