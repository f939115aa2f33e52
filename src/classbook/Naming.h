#pragma once

#include "ClassBook.h"

#include <QString>
#include <QStringList>

// How a pupil is called in a comment, and how "〇〇" in an example sentence becomes that.

struct NameParts {
    QString family; // 姓
    QString given;  // 名
};

// 氏名 split at its first blank (half- or full-width). A name without a blank is both
// family and given name, so it is used whole whatever the rule.
[[nodiscard]] NameParts splitName(const QString &name);

// The pupil as the rule calls them: 姓＋さん, 名＋さん, or 姓＋くん for 男 and 姓＋さん otherwise.
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
