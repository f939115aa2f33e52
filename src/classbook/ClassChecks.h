#pragma once

#include "ClassBook.h"
#include "WordingRules.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// 点検: what the teacher, the head of year and the principal look for before comments leave
// the program. The whole class is checked at once for the list; the table's marks for one
// field are recomputed per keystroke from a kept index of the class's sentences.

// A cell of the class table: a pupil (index into ClassBook::pupils) and a field (index into
// ClassBook::fields, or one of the roster columns below).
struct CellRef {
    int pupil = -1;
    int field = -1;
    bool operator==(const CellRef &other) const { return pupil == other.pupil && field == other.field; }
    bool operator!=(const CellRef &other) const { return !(*this == other); }
};
inline size_t qHash(const CellRef &cell, size_t seed = 0) { return qHashMulti(seed, cell.pupil, cell.field); }

// The roster columns a check can point at besides the fields (characters outside code page 932
// in a name matter as much as in a comment).
constexpr int NameColumn = -2;
constexpr int KanaColumn = -1;
// The pupil's notes: where a finding about them, or a search hit in one, points.
constexpr int NotesColumn = -3;

// The sentences of the class that more than one pupil has, kept up to date field by field.
class DuplicateSentences
{
public:
    DuplicateSentences() = default;
    explicit DuplicateSentences(const ClassBook &book);

    // Takes the new text of one field and returns every cell whose mark changed with it
    // (this one, and other pupils' cells that now share a sentence or no longer do).
    [[nodiscard]] QList<CellRef> update(const CellRef &cell, const QString &text);

    // The cell holds a sentence another pupil also has.
    [[nodiscard]] bool isMarked(const CellRef &cell) const;

    // The pupils whose fields hold the sentence (trimmed, as sentenceSpans cuts it), each once, ascending.
    // Linear in their number: the check asks once per sentence, not once per place.
    [[nodiscard]] QList<int> pupilsHolding(const QString &sentence) const;

private:
    struct Holders {
        QList<CellRef> cells;     // the cells holding the sentence, each once
        QHash<int, int> perPupil; // pupil -> how many of their cells hold it
    };

    void add(const CellRef &cell, const QStringList &sentences);
    void remove(const CellRef &cell);

    QHash<QString, Holders> m_holders;        // sentence -> who holds it
    QHash<CellRef, QStringList> m_sentences;  // cell -> its compared sentences, each once
};

// Long enough to count as the same sentence given to two pupils.
[[nodiscard]] bool isComparedSentence(const QString &sentence);

// The sentences of a text that are long enough to compare, each once.
[[nodiscard]] QStringList comparedSentences(const QString &text);

// What the table shows for one cell.
struct CellMarks {
    int length = 0;         // characterCount of the text
    bool overLimit = false; // longer than the field's limit (a limit of 0 is none)
    bool empty = false;     // nothing but blanks
    bool duplicate = false; // a sentence another pupil has too
    bool operator==(const CellMarks &other) const
    {
        return length == other.length && overLimit == other.overLimit && empty == other.empty
            && duplicate == other.duplicate;
    }
};

[[nodiscard]] CellMarks cellMarks(const QString &text, int limit, bool duplicate);

enum class FindingKind {
    OverLimit,
    Empty,
    DuplicateSentence,
    Placeholder,   // 〇〇 / ○○ left where a name belongs
    HalfWidthKana,
    OutsideCp932,  // only when the class is going to Shift_JIS
    Wording,       // a hit of a wording rule
    NoNotes,       // a pupil without any note yet (only when asked for)
};

struct Finding {
    FindingKind kind = FindingKind::Empty;
    CellRef cell;
    qsizetype start = 0;    // UTF-16 span in the cell's text of what was found; 0, 0 for the whole cell
    qsizetype length = 0;
    QString found;          // the sentence, word or characters found (for the list and for replacing)
    QString replacement;    // wording and half-width kana: what to write instead; empty when none
    int rule = -1;          // wording: index of the rule
    QList<int> sharedBy;    // duplicate sentence: every pupil holding it, this one included, ascending
    int textLength = 0;     // over the limit: the length and the limit
    int limit = 0;

    bool canReplace() const { return !replacement.isEmpty(); }
};

struct CheckOptions {
    bool cp932 = false; // also list characters code page 932 cannot hold (for a Shift_JIS export)
    bool notes = false; // also list pupils who have no note yet
};

// Every finding of the class, by pupil, then column (氏名, ふりがな, then the fields), then place in the text.
[[nodiscard]] QList<Finding> checkClass(const ClassBook &book, const WordingMatcher &wording,
                                        const CheckOptions &options = {});

// The characters of a text that a Shift_JIS export refuses, each once in order of first
// occurrence: those code page 932 lacks, and U+FFFD, which would be written as "?" without a word.
[[nodiscard]] QString shiftJisRefusals(const QString &text);

// The text of a cell: a field's text, or the name or kana for the roster columns.
[[nodiscard]] QString cellText(const ClassBook &book, const CellRef &cell);

// The column's caption: the field's name, 氏名, ふりがな or メモ.
[[nodiscard]] QString columnName(const ClassBook &book, int field);

// "3番 山田 花子", or the name alone for a pupil without a number.
[[nodiscard]] QString pupilLabel(const Pupil &pupil);

// One line for the 点検 list saying what was found (the pupil and column are shown beside it).
[[nodiscard]] QString findingMessage(const Finding &finding, const ClassBook &book);
