#pragma once

#include "ClassBook.h"
#include "ClassChecks.h"
#include "TextDiff.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What changed in a class since an earlier state of it (the last hand-in): which texts, with
// their character-level differences, and which pupils and fields came or went. Pupils are
// matched by 氏名 (blanks compared loosely), then by 出席番号 among pupils of one name, so a
// renumbered child keeps its texts; fields by name, and a field whose name is gone is taken as
// renamed to a new one in the same order.

struct FieldChange {
    int pupil = -1; // index in the later class
    int field = -1; // index in the later class
    QList<DiffPiece> pieces;
};

struct RenumberedPupil {
    int pupil = -1; // index in the later class
    int oldNumber = 0;
};

struct RenamedField {
    int field = -1; // index in the later class
    QString oldName;
};

struct ClassDiff {
    QList<FieldChange> changes; // by pupil, then field, in the later class's order
    QList<int> addedPupils;     // indices in the later class
    QList<Pupil> removedPupils; // as the earlier class had them
    QList<RenumberedPupil> renumbered;
    QList<int> addedFields;     // indices in the later class
    QStringList removedFields;
    QList<RenamedField> renamedFields;

    bool isEmpty() const
    {
        return changes.isEmpty() && addedPupils.isEmpty() && removedPupils.isEmpty() && renumbered.isEmpty()
            && addedFields.isEmpty() && removedFields.isEmpty() && renamedFields.isEmpty();
    }
};

[[nodiscard]] ClassDiff diffClasses(const ClassBook &before, const ClassBook &after);

// The cells of the later class a checker reads again: the changed texts, and every written
// field of a pupil who is new.
[[nodiscard]] QSet<CellRef> changedCells(const ClassDiff &diff, const ClassBook &after);
