#pragma once

#include "ClassBook.h"
#include "ClassFile.h"
#include "SafeSave.h"

#include <QDateTime>
#include <QList>
#include <QString>

// 提出: every hand-in keeps a copy of the class as it was handed in, in the class file's own
// format, in a folder beside the class file ("<class file's name> 提出"), one file per hand-in
// named by its date, time and number ("2024-12-07 15時30分 第2回.json"). A copy is never
// overwritten, and it says inside that it is one, so it is never opened as the class file.

struct HandIn {
    QString path;
    QDateTime at;   // to the minute, as the name says
    int number = 0; // 1 for the first hand-in
};

[[nodiscard]] QString handInFolder(const QString &classPath);

// The copies in the folder, oldest first; files of other names are not hand-ins.
[[nodiscard]] QList<HandIn> handInsOf(const QString &classPath);

// Writes the copy of a new hand-in (numbered after the last one) through the safe save.
struct KeptHandIn {
    SaveResult saved;
    HandIn handIn;
};
[[nodiscard]] KeptHandIn keepHandIn(const QString &classPath, const ClassBook &book, const QDateTime &at);

// The class as a copy holds it.
[[nodiscard]] ClassFileRead readHandIn(const QString &path);

// Why these bytes must not be opened as the class file (they are a hand-in's copy), or nothing.
[[nodiscard]] QString handInCopyRefusal(const QByteArray &bytes);
