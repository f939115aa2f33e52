#pragma once

#include "ClassBook.h"

#include <QList>
#include <QString>
#include <QStringView>

// Finding words in a class: the search box over every pupil's name, fields and notes, and the
// quick-entry list's choice of a pupil by 出席番号 or part of the name. Both compare texts
// folded the same way, so that "ＡＢＣ", "abc" and "Abc" are one word.

// The text as compared: letters in one case, full-width ASCII and the ideographic space as
// their half-width forms. One UTF-16 unit stays one unit, so positions are the text's own.
[[nodiscard]] QString searchFolded(QStringView text);

struct SearchHit {
    int pupil = -1;
    int field = -1;       // a field, NameColumn, KanaColumn or NotesColumn (ClassChecks.h)
    int note = -1;        // the note (index in the pupil's notes), or -1 in a field
    qsizetype start = 0;  // the words' span in that text, in UTF-16 units
    qsizetype length = 0;
    QString context;      // the text around the words on one line, "…" where it was cut

    bool operator==(const SearchHit &other) const
    {
        return pupil == other.pupil && field == other.field && note == other.note && start == other.start
            && length == other.length && context == other.context;
    }
};

struct SearchResult {
    QList<SearchHit> hits;
    bool truncated = false; // there were more than the hits asked for
};

// Every place the words occur, by pupil (氏名, ふりがな, the fields in order, then the notes
// newest first), then by place in the text. Blanks around the words do not count; at most
// maxHits are returned.
[[nodiscard]] SearchResult searchClass(const ClassBook &book, const QString &words, int maxHits = 500);

// The span of text around it (about `around` characters each side) on one line, cut with "…".
[[nodiscard]] QString hitContext(const QString &text, qsizetype start, qsizetype length, int around = 15);

// Whether the teacher means this pupil by what was typed: digits (half- or full-width, "番"
// after them allowed) pick the 出席番号; other words are looked for in the name and the
// kana, blanks left out on both sides. Nothing typed means every pupil.
[[nodiscard]] bool pupilMatches(const Pupil &pupil, const QString &typed);
