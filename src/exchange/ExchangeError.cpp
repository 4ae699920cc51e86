#include "ExchangeError.h"

ExchangeError::ExchangeError(int line, const QString& japanese, const QString& english)
    : std::runtime_error(english.toStdString())
    , m_line(line)
    , m_japanese(japanese)
    , m_english(english)
{}

QString ExchangeError::message() const
{
    if (m_line <= 0)
        return QStringLiteral("%1 (%2)").arg(m_japanese, m_english);
    return QStringLiteral("%1行目: %2 (line %1: %3)").arg(QString::number(m_line), m_japanese, m_english);
}
