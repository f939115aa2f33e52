#pragma once

#include "SafeSave.h"

#include <QDate>

// Kotoban1.txt → Kotoban1.bak, in the same folder.
[[nodiscard]] QString backupPathFor(const QString &dataPath);

struct BackupResult {
    bool ok = true;
    bool written = false; // false when today's backup was kept
    QString error;
};

// Keeps the data file as it was before the first change of the day: the backup is
// written from the bytes the file had when this run read it, unless a backup written
// today is there already. It gets the data file's permissions, and a symbolic link in
// its place is replaced, never written through.
[[nodiscard]] BackupResult backUpBeforeFirstChangeOfDay(const QString &dataPath, const QByteArray &bytesAsRead,
                                                        const QDate &today = QDate::currentDate());
