#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database engine, carrying the engine's own text and its result code so that the
// window can say what went wrong in words the learner understands.
class StoreError : public std::runtime_error {
public:
    StoreError(const QString& engineText, int engineCode = 0)
        : std::runtime_error(engineText.toStdString())
        , m_engineText(engineText)
        , m_engineCode(engineCode)
    {}

    QString engineText() const { return m_engineText; }
    int engineCode() const { return m_engineCode; }
    // Another connection holds the lock the statement needed (SQLite's SQLITE_BUSY).
    bool isBusy() const { return (m_engineCode & 0xff) == kBusy; }
    // The file is damaged, or is no database at all (SQLITE_CORRUPT, SQLITE_NOTADB).
    bool isDamage() const;
    static constexpr int kBusy = 5;
    // A read-only connection met a journal an interrupted writer left (SQLITE_READONLY_ROLLBACK).
    static constexpr int kReadOnlyRollback = 8 | (3 << 8);

    // The message the learner sees in the window: a Japanese sentence naming the kind of failure, then the
    // engine's text.
    QString userMessage() const;
    // The same on one line for the command line, the sentence in the language of the translation the
    // program installed (English without one), the engine's text in brackets after it.
    QString summary() const;

private:
    QString m_engineText;
    int m_engineCode;
};
