#pragma once
#include <QString>

// The program's folder: PELKAR_HOME when set, else the executable's folder
// when it is writable, else the per-user data folder. Every file the program
// keeps (database, settings, serial logs, dump lists, audit log) lives here.
QString ProgramFolder();

// Joins a folder and a file name, putting "/" between them only where the
// folder does not already end in one.
QString JoinPath(const QString& folder, const QString& name);

// ProgramFolder() joined with name.
QString ProgramFile(const QString& name);

// The log database file.
QString LogDatabasePath();
