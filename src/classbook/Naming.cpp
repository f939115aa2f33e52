#include "Naming.h"

#include <algorithm>

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

bool nameHasBlank(const QString &name)
{
    const QString trimmed = name.trimmed();
    return std::any_of(trimmed.cbegin(), trimmed.cend(), isBlank);
}

bool ruleNeedsNameParts(NamingRule rule)
{
    switch (rule) {
    case NamingRule::FamilySan:
    case NamingRule::GivenSan:
    case NamingRule::FamilyBySex: return true;
    }
    return true;
}

QString honorific(const Pupil &pupil, NamingRule rule)
{
    const QString sex = pupil.sex.trimmed();
    const bool boy = sex == QStringLiteral("男") || sex == QStringLiteral("男子");
    return rule == NamingRule::FamilyBySex && boy ? QStringLiteral("くん") : QStringLiteral("さん");
}

QString callName(const Pupil &pupil, NamingRule rule)
{
    if (!pupil.calledAs.isEmpty())
        return pupil.calledAs;
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

QString nameFor(NameFor use, const QString &name)
{
    static constexpr int SheetNameLimit = 31;
    static const QStringView refused[] = {u"/\\:*?\"<>|", u"[]:*?/\\"};
    static const QStringView fullWidth[] = {u"／＼：＊？”＜＞｜", u"［］：＊？／＼"};
    const int set = use == NameFor::File ? 0 : 1;
    QString made;
    for (const QChar c : name) {
        if (const qsizetype i = refused[set].indexOf(c); i >= 0)
            made += fullWidth[set][i];
        else if (c.category() == QChar::Other_Control || c == u'\u2028' || c == u'\u2029')
            made += u' ';
        else
            made += c;
    }
    made = made.trimmed();
    if (use == NameFor::File)
        return made.isEmpty() || made.startsWith(u'.') ? QStringLiteral("学級の所見") + made : made;
    while (made.startsWith(u'\''))
        made.remove(0, 1);
    if (made.size() > SheetNameLimit) {
        made.truncate(SheetNameLimit);
        if (made.back().isHighSurrogate())
            made.chop(1);
    }
    while (made.endsWith(u'\'') || (!made.isEmpty() && made.back().isSpace()))
        made.chop(1);
    if (made.isEmpty())
        return QStringLiteral("所見");
    if (made.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        return made + QStringLiteral("（所見）");
    return made;
}
