#pragma once

#include "ClassBook.h"

#include <QJsonObject>

// Keys of the class file that this version does not use are kept: a hand edit or a newer
// minor version keeps its data through a load and a save. A key counts as used when the
// writer writes it for what the reader read, so every key a reader takes in is known
// without a list to keep up to date, and a value the teacher cleared does not come back.

// Keeps in book (and in each of its pupils, still in the file's order) the keys of read
// that written, this version's writing of the book just read, lacks.
void keepOtherKeys(const QJsonObject &read, const QJsonObject &written, ClassBook &book);
// Adds the kept keys to root, this version's writing of book, where it has no value of its own.
void addOtherKeys(const ClassBook &book, QJsonObject &root);
