#pragma once

#include <QStringList>

// The commands of tessimor-db. Each takes the arguments after its name and returns the exit status.
int pathCommand(const QStringList& args);
int initCommand(const QStringList& args);
int exportCommand(const QStringList& args);
int importCommand(const QStringList& args);
int backupCommand(const QStringList& args);
int checkCommand(const QStringList& args);
