#pragma once

#include <QJsonObject>

// Keys of the class file that this version does not use are kept: a hand edit or a newer
// minor version keeps its data through a load and a save. A key counts as used when the
// writer writes it for what the reader read, so every key a reader takes in is known
// without a list to keep up to date.

// The keys of read that written lacks, with their values as read.
[[nodiscard]] QJsonObject keysNotWritten(const QJsonObject &read, const QJsonObject &written);
// Adds the kept keys to object where it has no value of its own.
void addKeptKeys(QJsonObject &object, const QJsonObject &kept);
