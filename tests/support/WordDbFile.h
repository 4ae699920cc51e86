#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Writes a Jet 4 database file as Access keeps the notebook: the table wordDB with the text columns
// UpDay (or a Date/Time UpDay), English and Japanese. Each row is {UpDay, English, Japanese}; a null
// QString is Null. The table's definition counts countedRows rows (by default as many as there are).
void writeWordDb(const QString& path, const QVector<QStringList>& rows, bool dateUpDay = false,
                 int countedRows = -1);
