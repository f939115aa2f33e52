#pragma once

#include "ClassBook.h"

#include <QString>
#include <QStringList>

// How a pupil is called in a comment, and how "〇〇" in an example sentence becomes that;
// how a class or field name names a file or an Excel sheet.

struct NameParts {
    QString family; // 姓
    QString given;  // 名
};

// 氏名 split at its first blank (half- or full-width). A name without a blank is both
// family and given name, so it is used whole whatever the rule.
[[nodiscard]] NameParts splitName(const QString &name);

// True when a blank inside the name (not at its ends) separates 姓 and 名.
[[nodiscard]] bool nameHasBlank(const QString &name);
// True when the rule takes 姓 or 名 out of the name, which a name without a blank cannot give.
[[nodiscard]] bool ruleNeedsNameParts(NamingRule rule);

// The pupil's 呼び名 when set; otherwise the pupil as the rule calls them: 姓＋さん, 名＋さん,
// or 姓＋くん for 男 and 姓＋さん otherwise.
[[nodiscard]] QString callName(const Pupil &pupil, NamingRule rule);
// くん for 男 under the rule that says so, さん otherwise.
[[nodiscard]] QString honorific(const Pupil &pupil, NamingRule rule);
// The whole 氏名 with that honorific, as the window names the pupil: "大野 湊くん".
[[nodiscard]] QString addressedName(const Pupil &pupil, NamingRule rule);

// Every placeholder "〇〇" (two U+3007) or "○○" (two U+25CB) replaced by the name.
// An honorific right after a placeholder ("〇〇さん", "〇〇くん") is part of it, so it is
// not doubled. Runs of three or more and 〇 next to a kanji numeral ("二〇〇〇年") are
// numbers, not placeholders, and stay.
[[nodiscard]] QString fillPlaceholders(const QString &text, const QString &name);
[[nodiscard]] bool hasPlaceholder(const QString &text);

// The rules in the order the window offers them, with their captions.
[[nodiscard]] QList<NamingRule> namingRules();
[[nodiscard]] QString namingRuleCaption(NamingRule rule);
// The name a rule has in the class file, and back (unknown names give nothing).
[[nodiscard]] QString namingRuleKey(NamingRule rule);
[[nodiscard]] bool namingRuleFromKey(const QString &key, NamingRule *rule);

// What a name is made fit to name.
enum class NameFor {
    File,  // a file the teacher saves: no / \ : * ? " < > |, not empty, not hidden (no leading ".")
    Sheet, // an Excel sheet: at most 31 UTF-16 units, no [ ] : * ? / \, no apostrophe at
           // either end, not empty, not "History" (Excel keeps that name for itself)
};

// A class or field name made fit for use: the characters it may not hold become their
// full-width forms (so the name still reads the same), control characters and line
// separators blanks, blanks at the ends go; an unusable result gets a name of its own.
[[nodiscard]] QString nameFor(NameFor use, const QString &name);
