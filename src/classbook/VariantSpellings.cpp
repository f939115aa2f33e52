#include "VariantSpellings.h"

#include "NameChecks.h"

namespace {

// Spellings that stand side by side in schools' comments; the one most 所見 guides prefer first.
const char16_t *const Pairs[][2] = {
    {u"子ども", u"子供"},
    {u"友だち", u"友達"},
    {u"一人ひとり", u"一人一人"},
    {u"でき［漢字以外］", u"出来［漢字以外］"},
    {u"分か［らりるれっ］", u"わか［らりるれっ］"},
    {u"頑張", u"がんば"},
    {u"取り組", u"取組"},
    {u"話し合", u"話合"},
    {u"さまざま", u"様々"},
    {u"すばら", u"素晴ら"},
    {u"一緒", u"いっしょ［う以外］"},
    {u"ていねい", u"丁寧"},
    {u"すべて", u"全て"},
    {u"一生懸命", u"一所懸命"},
};

// A rule on 出来る or 子供達 rules on 出来 and 子供; one on 様 (よう) says nothing of 様々.
bool rulesOn(const WordingRule &rule, const WordPattern &spelling)
{
    return !rule.suggestion && rule.avoid.contains(spelling.word);
}

} // namespace

QList<std::pair<WordPattern, WordPattern>> builtInVariantPairs()
{
    QList<std::pair<WordPattern, WordPattern>> pairs;
    for (const auto &pair : Pairs)
        pairs.append({parseWordPattern(QStringView(pair[0])), parseWordPattern(QStringView(pair[1]))});
    return pairs;
}

VariantSpellings::VariantSpellings(const ClassBook &book, const QList<WordingRule> &rules, bool rulesArePairs,
                                   const ClassNames &names)
{
    auto addPair = [this](const WordingRule &first, const WordingRule &second) {
        const int at = int(m_sides.size());
        m_sides.append({first, at + 1, 0});
        m_sides.append({second, at, 0});
    };
    for (const auto &pair : builtInVariantPairs()) {
        const auto &first = pair.first;
        const auto &second = pair.second;
        const bool ruled = std::any_of(rules.cbegin(), rules.cend(), [&](const WordingRule &rule) {
            return rulesOn(rule, first) || rulesOn(rule, second);
        });
        if (ruled) // the rule itself, or its own pair below
            continue;
        addPair({first.word, second.word, 0, first.before, first.after, false},
                {second.word, first.word, 0, second.before, second.after, false});
    }
    if (rulesArePairs) {
        for (const WordingRule &rule : rules) {
            if (rule.hasReplacement())
                addPair({rule.replacement, rule.avoid, rule.line, {}, {}, false}, rule);
        }
    }
    if (m_sides.isEmpty())
        return;
    QList<WordingRule> spellings;
    for (const Side &side : std::as_const(m_sides))
        spellings.append(side.spelling);
    const WordingMatcher matcher(spellings);
    QHash<CellRef, QList<WordingHit>> all;
    for (int p = 0; p < book.pupils.size(); ++p) {
        for (int f = 0; f < book.pupils[p].texts.size(); ++f) {
            const QString &text = book.pupils[p].texts[f];
            QList<WordingHit> hits = matcher.hits(text);
            if (hits.isEmpty())
                continue;
            // A spelling inside a pupil's name is the family's, not the teacher's.
            const auto spans = names.nameSpans(text);
            hits.erase(std::remove_if(hits.begin(), hits.end(), [&](const WordingHit &hit) {
                return std::any_of(spans.cbegin(), spans.cend(), [&](const auto &span) {
                    return hit.start < span.first + span.second && span.first < hit.start + hit.length;
                });
            }), hits.end());
            for (const WordingHit &hit : std::as_const(hits))
                ++m_sides[hit.rule].count;
            if (!hits.isEmpty())
                all.insert({p, f}, hits);
        }
    }
    // Only the rarer spelling of a pair in use both ways is listed; on a tie, the second.
    auto isRarer = [this](int side) {
        const Side &mine = m_sides[side];
        const Side &other = m_sides[mine.other];
        return mine.count > 0 && other.count > 0 && (mine.count < other.count || (mine.count == other.count && side % 2 == 1));
    };
    for (auto cell = all.cbegin(); cell != all.cend(); ++cell) {
        QList<WordingHit> rarer;
        for (const WordingHit &hit : *cell) {
            if (isRarer(hit.rule))
                rarer.append(hit);
        }
        if (!rarer.isEmpty())
            m_hits.insert(cell.key(), rarer);
    }
}

void VariantSpellings::addFindings(const CellRef &cell, QList<Finding> &out) const
{
    for (const WordingHit &hit : m_hits.value(cell)) {
        const Side &side = m_sides[hit.rule];
        Finding finding;
        finding.kind = FindingKind::Variant;
        finding.cell = cell;
        finding.start = hit.start;
        finding.length = hit.length;
        finding.found = side.spelling.avoid;
        finding.replacement = side.spelling.replacement;
        finding.count = m_sides[side.other].count;
        finding.otherCount = side.count;
        finding.variant = side.spelling;
        out.append(std::move(finding));
    }
}
