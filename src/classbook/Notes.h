#pragma once

#include "ClassBook.h"
#include "ClassEditing.h"

#include <QDate>
#include <QString>

// What the teacher does to a pupil's notes and to the class's kinds of note. A pupil's notes
// are kept newest first: later days before earlier ones, and among the notes of one day the
// one added last first, so the note just written is always on top.

// The longest kind of note, in characters: a word for a list, not a sentence.
constexpr int MaxNoteTagLength = 10;

// Where a note of this date goes among notes kept newest first: before the notes of that day.
[[nodiscard]] int notePosition(const QList<PupilNote> &notes, const QDate &date);
// Puts notes newest first, keeping the order of the notes of one day.
void sortNotes(QList<PupilNote> &notes);

// Adds a note (its kind empty or one of the class's); index is where it now stands.
[[nodiscard]] ClassEdit addNote(ClassBook &book, int pupil, const PupilNote &note);
// Sets a note's text; line breaks are stored as "\n".
[[nodiscard]] ClassEdit setNoteText(ClassBook &book, int pupil, int note, const QString &text);
// Moves a note to another day; index is where it now stands.
[[nodiscard]] ClassEdit setNoteDate(ClassBook &book, int pupil, int note, const QDate &date);
[[nodiscard]] ClassEdit setNoteTag(ClassBook &book, int pupil, int note, const QString &tag);
[[nodiscard]] ClassEdit removeNote(ClassBook &book, int pupil, int note);
// Adds a kind of note to the class's list; index is its place in the list.
[[nodiscard]] ClassEdit addNoteTag(ClassBook &book, const QString &tag);

// The note, or null when there is no such pupil or note.
[[nodiscard]] const PupilNote *noteOf(const ClassBook &book, int pupil, int note);
