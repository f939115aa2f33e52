#pragma once

#include "CellMarks.h"
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

enum class FindingKind {
    OverLimit,
    Empty,
    DuplicateSentence,
    Placeholder,   // 〇〇 / ○○ left where a name belongs
    HalfWidthKana,
    OutsideCp932,  // only when the class is going to Shift_JIS
    Wording,       // a hit of a wording rule
    Style,         // a sentence in the other 文体
    RepeatedEnding, // the third of three or more sentences in a row that end alike
    LongSentence,  // a sentence over the class's length
    OutsideJoyo,   // kanji outside the 常用漢字表
    NotYetLearned, // a kanji of a grade above the class's
    Variant,       // the rarer of two spellings of one word in the class
    OtherPupilName, // another pupil of the class named in the text
    WrongCallName, // the pupil called otherwise than the class's naming rule
    NoNotes,       // a pupil without any note yet (only when asked for)
    FormulaStart,  // starts with what Excel takes for a formula (= + - @)
    NameWithoutBlank, // 氏名 without a blank and no 呼び名, under a rule that takes 姓 or 名 from it
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
    int textLength = 0;     // over a limit (the field's or the sentence's): the length and the limit;
    int limit = 0;          // a kanji not yet learned: its grade and the class's
    QString context;        // kanji: the word around it; wording by a rule with conditions: the characters around
    QString example;        // wording: the rule's example of a rewording
    int count = 0;          // variant: the places of the spelling kept; repeated ending: the sentences in the run
    int otherCount = 0;     // variant: the places of the spelling found
    int otherPupil = -1;    // another pupil's name: whose
    WritingStyle expected = WritingStyle::Polite; // 文体: what the sentence should be
    WordingRule variant;    // variant: the spelling found as a rule towards the one kept

    bool canReplace() const { return !replacement.isEmpty(); }
};
// Moves as its bytes do (its members are Qt values): the list of a whole class's findings grows by
// thousands, and would otherwise move each finding member by member.
Q_DECLARE_TYPEINFO(Finding, Q_RELOCATABLE_TYPE);

struct CheckOptions {
    bool cp932 = false; // also list characters code page 932 cannot hold (for a Shift_JIS export)
    bool notes = false; // also list pupils who have no note yet
    bool names = false; // also list names the naming rule cannot take 姓 or 名 from (the 点検 list does)
};

// Every finding of the class, by pupil, then column (氏名, ふりがな, then the fields), then place in the
// text; the kinds the class's settings (book.checks) switch off are left out.
[[nodiscard]] QList<Finding> checkClass(const ClassBook &book, const WordingMatcher &wording,
                                        const CheckOptions &options = {});

// The characters of a text that a Shift_JIS export refuses, each once in order of first
// occurrence: those code page 932 lacks, and U+FFFD, which would be written as "?" without a word.
[[nodiscard]] QString shiftJisRefusals(const QString &text);

// The text starts with a character that makes Excel read a typed or pasted cell as a
// formula: = + - @.
[[nodiscard]] bool startsLikeFormula(const QString &text);

// The text of a cell: a field's text, or the name or kana for the roster columns.
[[nodiscard]] QString cellText(const ClassBook &book, const CellRef &cell);

// The column's caption: the field's name, 氏名, ふりがな or メモ.
[[nodiscard]] QString columnName(const ClassBook &book, int field);

// "3番 山田 花子", or the name alone for a pupil without a number.
[[nodiscard]] QString pupilLabel(const Pupil &pupil);

// One line for the 点検 list saying what was found (the pupil and column are shown beside it).
[[nodiscard]] QString findingMessage(const Finding &finding, const ClassBook &book);
