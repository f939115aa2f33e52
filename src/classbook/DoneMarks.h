#pragma once

#include "ClassBook.h"
#include "ClassEditing.h"

#include <QString>

class QJsonObject;

// 完了: the teacher says a pupil's field is finished. The mark keeps a digest of the text as
// it was marked, so a text changed afterwards still shows as marked but changed, and
// nothing slips through to the checker unseen.

enum class DoneState {
    Open,             // not marked
    Done,             // marked, and the text is as it was marked
    ChangedSinceDone, // marked, but the text changed since
};

[[nodiscard]] DoneState doneState(const ClassBook &book, int pupil, int field);

// Marks the field with its current text, or takes the mark away.
[[nodiscard]] ClassEdit setDone(ClassBook &book, int pupil, int field, bool done);
// What the check box and Ctrl+D do: an open field is marked, a marked one is unmarked, and
// one changed since its mark is marked again with the text as it is now.
[[nodiscard]] ClassEdit toggleDone(ClassBook &book, int pupil, int field);

struct DoneCount {
    int done = 0;    // marked, whether changed since or not
    int changed = 0; // of those, changed since the mark
    int pupils = 0;
};
[[nodiscard]] DoneCount doneCount(const ClassBook &book, int field);

// Field edits keep the marks beside their texts.
void moveDoneMark(Pupil &pupil, int from, int to);
void removeDoneMark(Pupil &pupil, int field);

// The class file's "done" list of a pupil (written only when the pupil has a mark).
void writeDoneMarks(QJsonObject &pupilObject, const Pupil &pupil);
// False when the list is there but is not a list of texts, or longer than fieldCount.
[[nodiscard]] bool readDoneMarks(const QJsonObject &pupilObject, int fieldCount, Pupil *pupil);
