#pragma once

#include "ClassBook.h"
#include "WordingPattern.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <bitset>
#include <optional>

// The school's wording rules (表記ルール): words the school writes another way (友達 → 友だち)
// and words it avoids. They live in a plain text file in the working folder, one rule a line,
// "×表記<TAB>○表記", or "×表記<TAB>" for a word to avoid without a replacement, or
// "×表記<TAB>例：言いかえ" for a word to reword with an example of how (never put in by
// replacing: a negative expression needs the teacher's own words). A ×表記 may say what has
// to stand before or after the word (WordingPattern.h). A line starting with # is a comment.
// Blanks around either part do not count. A year group shares the file like the example libraries.

inline const QString WordingRulesFileName = QStringLiteral("表記ルール.txt");

struct WordingRule {
    QString avoid;       // ×表記: the word itself, without what has to stand around it
    QString replacement; // ○表記, or the example of a rewording; empty for a word to avoid with no replacement
    int line = 0;        // where the rule stands in its file (1-based)
    CharCondition before{}; // what has to stand right before the word; unset: anything
    CharCondition after{};
    bool suggestion = false; // replacement is an example for the teacher, not a replacement

    bool hasReplacement() const { return !replacement.isEmpty() && !suggestion; }
    // The ×表記 as the file writes it, with its conditions.
    QString written() const { return patternText(before, avoid, after); }
    bool operator==(const WordingRule &other) const
    {
        return avoid == other.avoid && replacement == other.replacement && line == other.line
            && before == other.before && after == other.after && suggestion == other.suggestion;
    }
};

struct WordingRuleError {
    int line = 0; // 1-based; 0 for the file as a whole
    QString message;
};

struct WordingRules {
    QList<WordingRule> rules;        // the usable rules, in file order
    QList<WordingRuleError> errors;  // lines that were not taken, with the reason
    bool fileMissing = false;
};

// Reads rules from the text of a rules file. A line that is not a usable rule is reported
// with its number and left out; the other lines still count.
[[nodiscard]] WordingRules parseWordingRules(const QString &text);

// Reads the rules file at path (UTF-8, with or without byte order mark; a file saved as
// Shift_JIS by an older editor is read as that). A missing file gives no rules and no error.
[[nodiscard]] WordingRules loadWordingRules(const QString &path);

// One place where a rule's word occurs in a text with its conditions met (UTF-16 positions of the word).
struct WordingHit {
    int rule = -1;
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const WordingHit &other) const
    {
        return rule == other.rule && start == other.start && length == other.length;
    }
};

// Finds every rule's ×表記 in a text in one pass over it. Each rule's hits do not overlap one
// another (the leftmost wins); hits of different rules may overlap (子供 and 子供たち).
class WordingMatcher
{
public:
    explicit WordingMatcher(const QList<WordingRule> &rules);

    [[nodiscard]] QList<WordingHit> hits(QStringView text) const;
    [[nodiscard]] const QList<WordingRule> &rules() const { return m_rules; }

private:
    QList<WordingRule> m_rules;
    QHash<char16_t, QList<int>> m_byFirstUnit; // rules by the first UTF-16 unit of ×表記, longest first
    std::bitset<65536> m_isFirstUnit; // quick rejection of the units no rule starts with
};

// The class with one stretch of one pupil's field replaced. Nothing when the field no longer
// holds expected at start (the teacher typed since the check): the caller checks again.
[[nodiscard]] std::optional<ClassBook> replaceInField(const ClassBook &book, int pupil, int field, qsizetype start,
                                                      const QString &expected, const QString &replacement);

struct ReplaceAllResult {
    ClassBook book;
    int count = 0; // how many places were replaced
};

// The class with every hit of one rule replaced in every pupil's fields, as the check finds
// them. A rule without a replacement (or with only an example) changes nothing.
[[nodiscard]] ReplaceAllResult replaceEverywhere(const ClassBook &book, const WordingRule &rule);
