#pragma once

#include "ClassBook.h"

#include <QJsonObject>
#include <QString>

// The notes and the kinds of note in the class file. Both keys are optional, so a file
// written before notes existed opens with no notes and the default kinds:
//   "noteTags": ["学習", "生活", ...]
//   each pupil's "notes": [{"date": "2025-01-20", "tag": "学習", "text": "..."}] (tag left out when none)

// Adds the keys to a class file whose "pupils" already hold the book's pupils in order.
void writeNoteKeys(const ClassBook &book, QJsonObject &root);

// Reads the keys into a book whose pupils were just read in the file's order. Returns what is
// damaged (for the teacher), or nothing. A kind a note has but the list lacks joins the list.
[[nodiscard]] QString readNoteKeys(const QJsonObject &root, ClassBook &book);
