#pragma once

#include <QString>

// What a cell of the class says about itself wherever it is shown: the table, the editor
// and its length bar, 点検. One rule, so that no two places disagree about a count.
struct CellMarks {
    int length = 0;         // the program's one count (characterCount), line breaks not counted
    bool overLimit = false; // longer than the field's limit (a limit of 0 is none)
    bool empty = false;     // nothing but blanks and line breaks
    bool duplicate = false; // a sentence another pupil has too (never on an empty cell)
    bool operator==(const CellMarks &other) const
    {
        return length == other.length && overLimit == other.overLimit && empty == other.empty
            && duplicate == other.duplicate;
    }
};

[[nodiscard]] CellMarks cellMarks(const QString &text, int limit, bool duplicate);
