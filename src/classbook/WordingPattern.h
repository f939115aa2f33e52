#pragma once

#include <QString>
#include <QStringView>

// A wording rule's ×表記 may say what has to stand right before or after the word, in
// brackets at its start or end: "［ひらがな］事［漢字以外］" is 事 after a hiragana and not
// before a kanji, so 「調べる事が」 is a hit and 「仕事」「事実」 are not. Inside the brackets:
// characters (［るた］: る or た), the classes ひらがな, カタカナ, かな, 漢字, 数字 and 英字,
// several of them separated by 、 or ・, and 以外 at the end for everything else. The edge
// of the text is no character: it meets only a condition with 以外.

struct CharCondition {
    QString written;    // between the brackets, as in the file; empty: anything may stand there
    QString characters; // the characters listed
    unsigned classes = 0;
    bool negated = false; // …以外

    bool isSet() const { return !written.isEmpty(); }
    // Whether the character c (0 for the edge of the text) may stand there.
    [[nodiscard]] bool accepts(char32_t c) const;

    bool operator==(const CharCondition &other) const { return written == other.written; }
    bool operator!=(const CharCondition &other) const { return !(*this == other); }
};

struct WordPattern {
    CharCondition before;
    QString word;
    CharCondition after;
    QString error; // why the ×表記 cannot be used; empty when it can
};

// Reads what stands between the brackets: "ひらがな", "るた", "漢字、し以外".
[[nodiscard]] CharCondition parseCharCondition(QStringView inside);

// Reads a ×表記 (already trimmed). A ×表記 without brackets is the word alone.
[[nodiscard]] WordPattern parseWordPattern(QStringView written);

// The ×表記 written back: "［ひらがな］事［漢字以外］", or the word alone.
[[nodiscard]] QString patternText(const CharCondition &before, const QString &word, const CharCondition &after);

// Whether the pattern's conditions hold around text[start, start + length).
[[nodiscard]] bool conditionsHold(const CharCondition &before, const CharCondition &after, QStringView text,
                                  qsizetype start, qsizetype length);
