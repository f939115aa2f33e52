#pragma once

#include "Characters.h"
#include "ClassBook.h"

#include <QString>

// What the teacher does to a class: fields and pupils added, changed, moved and removed.
// Every operation keeps each pupil's texts aligned with the class's fields (one text per
// field, in field order), so a text always stays with its pupil and its field.

struct ClassEdit {
    bool ok = true;
    QString reason; // why the change was refused, in words for the teacher
    int index = -1; // where the pupil or field now stands, when that can change

    static ClassEdit refused(const QString &why) { return {false, why, -1}; }
    static ClassEdit done(int at = -1) { return {true, QString(), at}; }
};

// The longest limit a field may have; schools use 80 to 250 characters.
constexpr int MaxFieldLimit = 10000;

// A new class: the given name, one field "所見" of 200 characters, no pupils.
[[nodiscard]] ClassBook newClassBook(const QString &name);

// Gives every pupil exactly one text per field (missing ones empty). Longer lists are kept:
// the caller decides what to do with texts that have no field (see ClassFile).
void alignTexts(ClassBook &book);

[[nodiscard]] ClassEdit addField(ClassBook &book, const QString &name, int limit);
[[nodiscard]] ClassEdit renameField(ClassBook &book, int field, const QString &name);
[[nodiscard]] ClassEdit setFieldLimit(ClassBook &book, int field, int limit);
// Moves a field to another place; every pupil's text moves with it.
[[nodiscard]] ClassEdit moveField(ClassBook &book, int from, int to);
// Removes a field and its texts (ask first when fieldHasText). The last field stays.
[[nodiscard]] ClassEdit removeField(ClassBook &book, int field);
[[nodiscard]] bool fieldHasText(const ClassBook &book, int field);

// The details a teacher edits by hand; texts are never part of them.
struct PupilDetails {
    int number = 0;
    QString name;
    QString kana;
    QString sex;
};
[[nodiscard]] PupilDetails detailsOf(const Pupil &pupil);

// Adds a pupil with empty texts at its place in 出席番号 order; index is where it stands.
[[nodiscard]] ClassEdit addPupil(ClassBook &book, const PupilDetails &details);
// Changes a pupil's details, keeps the texts and moves the pupil to its new place.
[[nodiscard]] ClassEdit editPupil(ClassBook &book, int pupil, const PupilDetails &details);
// Swaps a pupil with the neighbour above (-1) or below (+1), 出席番号 included, so that
// the new order is also the 出席番号 order.
[[nodiscard]] ClassEdit movePupil(ClassBook &book, int pupil, int step);
// Removes a pupil with the pupil's texts and notes (ask first when pupilHasText: any text or note).
[[nodiscard]] ClassEdit removePupil(ClassBook &book, int pupil);
[[nodiscard]] bool pupilHasText(const ClassBook &book, int pupil);

// Puts the pupils in 出席番号 order; pupils without a number (0) come last, in their order.
void sortPupils(ClassBook &book);
// The pupil with this 出席番号 (not 0), or -1.
[[nodiscard]] int pupilByNumber(const ClassBook &book, int number);

// Sets one text; line breaks are stored as "\n".
[[nodiscard]] ClassEdit setText(ClassBook &book, int pupil, int field, const QString &text);
[[nodiscard]] QString textOf(const ClassBook &book, int pupil, int field);

