#pragma once

#include "ClassBook.h"

#include <QList>
#include <QString>
#include <QStringList>

// The table every export writes: a header row (出席番号, 氏名, ふりがな, then one column per
// field) and one row per pupil in 出席番号 order. Texts are as the teacher wrote them; each
// format decides how its line breaks are written.

constexpr int RosterColumns = 3; // 出席番号, 氏名, ふりがな

// Pupil indexes in 出席番号 order; pupils without a number (0) come last, in class order.
[[nodiscard]] QList<int> pupilsInNumberOrder(const ClassBook &book);

[[nodiscard]] QStringList exportHeader(const ClassBook &book);

// One pupil's row: the number (empty for none), name, kana, then each field's text.
[[nodiscard]] QStringList exportRow(const ClassBook &book, int pupil);

// The notes as a second table: 出席番号, 氏名, 日付, 種類, メモ, one row per note; pupils in
// 出席番号 order, each pupil's notes from the oldest, as the term went.
struct NoteRef {
    int pupil = -1;
    int note = -1;
    bool operator==(const NoteRef &other) const { return pupil == other.pupil && note == other.note; }
};
[[nodiscard]] QStringList notesHeader();
[[nodiscard]] QList<NoteRef> notesInExportOrder(const ClassBook &book);

// The caption of a column of the export table for messages: "氏名", a field's name, ...
[[nodiscard]] QString exportColumnName(const ClassBook &book, int column);

// The text between double quotes, its own quotes doubled, when it holds one of special;
// otherwise as it is. How CSV and Excel's clipboard both quote a cell.
[[nodiscard]] QString quotedIfAny(const QString &text, QStringView special);

// A text's line breaks (CR LF, lone CR or LF) written as lineBreak.
[[nodiscard]] QString withLineBreaks(const QString &text, QStringView lineBreak);
