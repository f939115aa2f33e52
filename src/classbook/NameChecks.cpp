#include "NameChecks.h"

#include "JoyoKanji.h"
#include "Naming.h"

#include <QSet>

#include <algorithm>

namespace {

const QStringList Honorifics{QStringLiteral("さん"), QStringLiteral("くん"), QStringLiteral("君"), QStringLiteral("ちゃん")};

// 林さん is not in 小林さん: a name of kanji (or katakana) does not start in the middle of a word.
WordingRule nameRule(const QString &name)
{
    // A class makes thousands of these at each 点検: the two conditions are read once.
    static const CharCondition notAfterKanji = parseCharCondition(u"漢字以外");
    static const CharCondition notAfterKatakana = parseCharCondition(u"カタカナ以外");
    WordingRule rule;
    rule.avoid = name;
    const char32_t first = codePointAt(name, 0);
    if (isKanji(first))
        rule.before = notAfterKanji;
    else if (first >= 0x30A1 && first <= 0x30FA)
        rule.before = notAfterKatakana;
    return rule;
}

QStringList fullNames(const NameParts &parts)
{
    if (parts.family == parts.given)
        return {};
    return {parts.family + parts.given, parts.family + u' ' + parts.given, parts.family + u'　' + parts.given};
}

QList<WordingRule> rulesOf(const QStringList &names)
{
    QList<WordingRule> rules;
    for (const QString &name : names)
        rules.append(nameRule(name));
    return rules;
}

} // namespace

ClassNames::ClassNames(const ClassBook &book) : m_calledMatcher({}), m_bareMatcher({})
{
    QStringList called;
    QSet<QString> calledSeen; // the list keeps the order, the set answers "already there?"
    QSet<QString> bare;
    for (int p = 0; p < book.pupils.size(); ++p) {
        const Pupil &pupil = book.pupils[p];
        m_callNames.append(callName(pupil, book.naming));
        const NameParts parts = splitName(pupil.name);
        if (parts.family.isEmpty())
            continue;
        auto add = [&](const QString &name, bool honorific) {
            Called &entry = m_called[name];
            if (entry.pupils.isEmpty() || entry.pupils.last() != p) // pupils come in order
                entry.pupils.append(p);
            entry.honorific = entry.honorific || honorific;
            if (!calledSeen.contains(name)) {
                calledSeen.insert(name);
                called.append(name);
            }
        };
        for (const QString &full : fullNames(parts)) {
            add(full, false);
            // The full name with an honorific is the pupil's whole name, not 名＋さん.
            for (const QString &honorific : Honorifics)
                add(full + honorific, false);
            bare.insert(full);
        }
        for (const QString &honorific : Honorifics) {
            add(parts.family + honorific, true);
            if (parts.given != parts.family)
                add(parts.given + honorific, true);
        }
        bare.insert(parts.family);
        bare.insert(parts.given);
    }
    m_calledMatcher = WordingMatcher(rulesOf(called));
    m_bareMatcher = WordingMatcher(rulesOf(QStringList(bare.cbegin(), bare.cend())));
}

QList<std::pair<qsizetype, qsizetype>> ClassNames::nameSpans(QStringView text) const
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (const WordingHit &hit : m_bareMatcher.hits(text))
        spans.append({hit.start, hit.length});
    return spans;
}

void ClassNames::addFindings(const CellRef &cell, const QString &text, QList<Finding> &out) const
{
    QList<WordingHit> hits = m_calledMatcher.hits(text);
    // The longest name at a place wins: 山田花子さん, not 花子さん within it.
    std::sort(hits.begin(), hits.end(), [](const WordingHit &a, const WordingHit &b) {
        return a.start != b.start ? a.start < b.start : a.length > b.length;
    });
    qsizetype coveredTo = 0;
    for (const WordingHit &hit : std::as_const(hits)) {
        if (hit.start + hit.length <= coveredTo)
            continue;
        coveredTo = hit.start + hit.length;
        const QString found = text.mid(hit.start, hit.length);
        const Called called = m_called.value(found);
        Finding finding;
        finding.cell = cell;
        finding.start = hit.start;
        finding.length = hit.length;
        finding.found = found;
        if (called.pupils.contains(cell.pupil)) {
            const QString &right = m_callNames.value(cell.pupil);
            if (!called.honorific || found == right)
                continue;
            finding.kind = FindingKind::WrongCallName;
            finding.replacement = right;
        } else {
            finding.kind = FindingKind::OtherPupilName;
            finding.otherPupil = called.pupils.first();
        }
        out.append(std::move(finding));
    }
}
