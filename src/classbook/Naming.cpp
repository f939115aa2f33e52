#include "Naming.h"

namespace {

constexpr char16_t KanjiZero = u'\u3007';   // 〇
constexpr char16_t WhiteCircle = u'\u25CB'; // ○

bool isBlank(QChar c) { return c == u' ' || c == u'\u3000' || c == u'\t'; }

bool isKanjiNumeral(QChar c)
{
    static const QString numerals = QStringLiteral("〇一二三四五六七八九十百千万億");
    return numerals.contains(c);
}

// The honorific at position at that the filled name already carries, or 0.
int honorificLength(const QString &text, int at)
{
    static const QStringList honorifics = {QStringLiteral("さん"), QStringLiteral("くん"), QStringLiteral("君")};
    for (const QString &h : honorifics) {
        if (QStringView(text).mid(at).startsWith(h))
            return int(h.size());
    }
    return 0;
}

} // namespace

NameParts splitName(const QString &name)
{
    const QString trimmed = name.trimmed();
    for (int i = 0; i < trimmed.size(); ++i) {
        if (isBlank(trimmed[i])) {
            const QString family = trimmed.left(i).trimmed();
            const QString given = trimmed.mid(i + 1).trimmed();
            return {family, given.isEmpty() ? family : given};
        }
    }
    return {trimmed, trimmed};
}

QString honorific(const Pupil &pupil, NamingRule rule)
{
    const QString sex = pupil.sex.trimmed();
    const bool boy = sex == QStringLiteral("男") || sex == QStringLiteral("男子");
    return rule == NamingRule::FamilyBySex && boy ? QStringLiteral("くん") : QStringLiteral("さん");
}

QString callName(const Pupil &pupil, NamingRule rule)
{
    const NameParts parts = splitName(pupil.name);
    return (rule == NamingRule::GivenSan ? parts.given : parts.family) + honorific(pupil, rule);
}

QString addressedName(const Pupil &pupil, NamingRule rule) { return pupil.name.trimmed() + honorific(pupil, rule); }

QString fillPlaceholders(const QString &text, const QString &name)
{
    QString result;
    result.reserve(text.size() + name.size() * 2);
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != KanjiZero && c != WhiteCircle) {
            result.append(c);
            ++i;
            continue;
        }
        int run = i;
        while (run < text.size() && text[run] == c)
            ++run;
        const bool pair = run - i == 2;
        const bool numeral = c == KanjiZero
            && ((i > 0 && isKanjiNumeral(text[i - 1])) || (run < text.size() && isKanjiNumeral(text[run])));
        if (pair && !numeral) {
            result.append(name);
            i = run + honorificLength(text, run);
        } else {
            result.append(QStringView(text).mid(i, run - i));
            i = run;
        }
    }
    return result;
}

bool hasPlaceholder(const QString &text) { return fillPlaceholders(text, QString()) != text; }

QList<NamingRule> namingRules()
{
    return {NamingRule::FamilySan, NamingRule::GivenSan, NamingRule::FamilyBySex};
}

QString namingRuleCaption(NamingRule rule)
{
    switch (rule) {
    case NamingRule::GivenSan: return QStringLiteral("名＋さん");
    case NamingRule::FamilyBySex: return QStringLiteral("姓＋さん/くん（性別で）");
    case NamingRule::FamilySan: break;
    }
    return QStringLiteral("姓＋さん");
}

QString namingRuleKey(NamingRule rule)
{
    switch (rule) {
    case NamingRule::GivenSan: return QStringLiteral("given-san");
    case NamingRule::FamilyBySex: return QStringLiteral("family-by-sex");
    case NamingRule::FamilySan: break;
    }
    return QStringLiteral("family-san");
}

bool namingRuleFromKey(const QString &key, NamingRule *rule)
{
    for (NamingRule candidate : namingRules()) {
        if (namingRuleKey(candidate) == key) {
            *rule = candidate;
            return true;
        }
    }
    return false;
}
