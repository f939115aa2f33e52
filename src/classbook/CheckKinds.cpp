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
    case FindingKind::Style: return QStringLiteral("文体");
    case FindingKind::RepeatedEnding: return QStringLiteral("文末");
    case FindingKind::LongSentence: return QStringLiteral("長い文");
    case FindingKind::OutsideJoyo: return QStringLiteral("常用外");
    case FindingKind::NotYetLearned: return QStringLiteral("未習の漢字");
    case FindingKind::Variant: return QStringLiteral("ゆれ");
    case FindingKind::OtherPupilName: return QStringLiteral("他の子の名前");
    case FindingKind::WrongCallName: return QStringLiteral("呼び方");
    case FindingKind::NoNotes: return QStringLiteral("メモなし");
    case FindingKind::FormulaStart: return QStringLiteral("Excel の式");
    case FindingKind::NameWithoutBlank: return QStringLiteral("姓名の区切り");
    }
    return QString();
}
