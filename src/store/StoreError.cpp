#include "StoreError.h"

#include <QCoreApplication>

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

// The window's Japanese sentence naming the kind of failure, and the English one the command line
// translates into the learner's language.
struct Headline {
    QString japanese;
    const char* english;
};

Headline headline(int code)
{
    switch (code & 0xff) {
    case StoreError::kBusy:
    case kLocked:
        return {
            QStringLiteral(
                "データベースが他のプログラムに使用されています。しばらくしてからもう一度お試しください。"),
            QT_TRANSLATE_NOOP("StoreError",
                              "the database is in use by another program; try again in a moment")};
    case kReadOnly:
        return {QStringLiteral(
                    "データベースに書き込めません。ファイルやフォルダの書き込み権限を確認してください。"),
                QT_TRANSLATE_NOOP(
                    "StoreError",
                    "cannot write to the database; check the permissions of the file and its folder")};
    case kFull:
        return {QStringLiteral("ディスクの空き容量が足りないため、書き込めませんでした。"),
                QT_TRANSLATE_NOOP("StoreError", "the disk is full, so nothing could be written")};
    case kIoErr:
        return {
            QStringLiteral(
                "データベースの読み書き中にエラーが発生しました。ディスクの空き容量などを確認してください。"),
            QT_TRANSLATE_NOOP("StoreError",
                              "reading or writing the database failed; check the free space on the disk")};
    case kCorrupt:
    case kNotADb:
        return {QStringLiteral("データベースファイルが壊れています。"),
                QT_TRANSLATE_NOOP("StoreError", "the database file is damaged")};
    case kCantOpen:
        return {QStringLiteral("データベースファイルを開けません。"),
                QT_TRANSLATE_NOOP("StoreError", "cannot open the database file")};
    case kTooBig:
        return {QStringLiteral("入力された文字が長すぎます。"),
                QT_TRANSLATE_NOOP("StoreError", "the text is too long")};
    default:
        return {QStringLiteral("データベースの処理中にエラーが発生しました。"),
                QT_TRANSLATE_NOOP("StoreError", "the database reported an error")};
    }
}
} // namespace

QString StoreError::userMessage() const
{
    // The engine refuses very long search patterns with a general error; say what the learner can do.
    if (m_engineText.contains(QLatin1String("pattern too complex")))
        return QStringLiteral("検索する文字が長すぎます。短くしてもう一度お試しください。\n\n") +
               m_engineText;
    return headline(m_engineCode).japanese + QStringLiteral("\n\n") + m_engineText;
}

QString StoreError::summary() const
{
    return QCoreApplication::translate("StoreError", headline(m_engineCode).english) + QStringLiteral(" (") +
           m_engineText + QLatin1Char(')');
}

bool StoreError::isDamage() const
{
    const int code = m_engineCode & 0xff;
    return code == kCorrupt || code == kNotADb;
}
