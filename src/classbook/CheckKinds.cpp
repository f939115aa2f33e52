#include "CheckKinds.h"

#include <map>

QList<KindCount> countKinds(const QList<Finding> &findings)
{
    std::map<int, int> counts;
    for (const Finding &finding : findings)
        ++counts[int(finding.kind)];
    QList<KindCount> result;
    for (const auto &[kind, count] : counts)
        result.append({FindingKind(kind), count});
    return result;
}

QString findingKindCaption(FindingKind kind)
{
    switch (kind) {
    case FindingKind::OverLimit: return QStringLiteral("字数");
    case FindingKind::Empty: return QStringLiteral("未記入");
    case FindingKind::DuplicateSentence: return QStringLiteral("同じ文");
    case FindingKind::Placeholder: return QStringLiteral("〇〇");
    case FindingKind::HalfWidthKana: return QStringLiteral("半角カナ");
    case FindingKind::OutsideCp932: return QStringLiteral("Shift_JIS");
    case FindingKind::Wording: return QStringLiteral("表記");
    case FindingKind::NoNotes: return QStringLiteral("メモなし");
    }
    return QString();
}
