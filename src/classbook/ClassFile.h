#pragma once

#include "ClassBook.h"

#include <QByteArray>
#include <QString>

// The class file: one class in UTF-8 JSON, named by a format name and a version so that
// a later Kotoban can read it and this one refuses what it does not understand.
//
// {"format": "kotoban-class", "version": 1, "name": "...", "naming": "family-san",
//  "fields": [{"name": "所見", "limit": 200}],
//  "pupils": [{"number": 1, "name": "...", "kana": "...", "sex": "...", "texts": ["..."]}]}

inline constexpr char ClassFileFormat[] = "kotoban-class";
inline constexpr int ClassFileVersion = 2;

// The file's suffix, and the filter the file dialogs offer.
inline QString classFileSuffix() { return QStringLiteral("json"); }
inline QString classFileFilter() { return QStringLiteral("学級ファイル (*.json)"); }

[[nodiscard]] QByteArray classFileBytes(const ClassBook &book);

struct ClassFileRead {
    bool ok = false;
    ClassBook book;
    QString error; // why the file cannot be used, for the teacher
};

// Reads a class; a damaged file, another format, a newer version or a pupil holding more
// texts than the class has fields is refused with the reason.
[[nodiscard]] ClassFileRead readClassFile(const QByteArray &bytes);
