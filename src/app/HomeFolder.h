#pragma once

#include <QString>

// The teacher's own folder on Windows, where Kotoban keeps its data files: Documents\Kotoban
// (or $KOTOBAN_HOME). What scripts/kotoban-launcher does on Linux, done by the program itself.
struct HomeFolder {
    QString path;
    QString problem; // empty when the folder is ready
};

// Creates the folder when needed and copies each starter data file, and the starter wording
// rules (表記ルール.txt), that is missing there. An existing file is never overwritten.
[[nodiscard]] HomeFolder prepareHomeFolder(const QString &starterFolder);
