#pragma once

#include "SafeSave.h"

#include <QDate>
#include <QDateTime>
#include <QDir>

// The files the program keeps beside a teacher's file: the backup of the day, and the
// copy that keeps this run's version when the file itself may not be overwritten. Data
// files and class files follow the same rules.

// Where a file's backup goes, in the same folder. A data file's ".txt" gives way to
// ".bak" (Kotoban1.txt → Kotoban1.bak, as always); any other file keeps its whole name
// (3年2組.json → 3年2組.json.bak), so that a class file never takes a data file's backup.
[[nodiscard]] QString backupPathFor(const QString &path);

struct BackupResult {
    bool ok = true;
    bool written = false; // false when today's backup was kept
    QString error;
};

// Keeps the file as it was before the first change of the day: the backup is written
// from the bytes the file had before this change (as read or last written), unless a
// backup written today is there already. It gets the file's permissions, and a symbolic
// link in its place is replaced, never written through.
[[nodiscard]] BackupResult backUpBeforeFirstChangeOfDay(const QString &path, const QByteArray &bytesBefore,
                                                        const QDate &today = QDate::currentDate());

// The name of a new file beside fileName in folder that keeps this run's version, e.g.
// "Kotoban1 (ことばんで保存 2026-12-07 1530).txt"; with a number after the time when
// that name is taken (a link to nowhere counts as taken).
[[nodiscard]] QString keepBothName(const QDir &folder, const QString &fileName, const QDateTime &now);
