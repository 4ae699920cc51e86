#include "ExchangeError.h"

ExchangeError::ExchangeError(int line, const QString& japanese, const QString& english)
    : std::runtime_error(english.toStdString())
    , m_message(
          line <= 0
              ? QStringLiteral("%1 (%2)").arg(japanese, english)
              : QStringLiteral("%1行目: %2 (line %1: %3)").arg(QString::number(line), japanese, english))
{}
