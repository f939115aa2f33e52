// The roster plan as the preview shows it and the result reports it.
#include "RosterMatch.h"

#include "ClassChecks.h"
#include "Naming.h"
#include "Roster.h"

namespace {

QString listed(const QString &title, const QStringList &items, const QString &after = {})
{
    if (items.isEmpty())
        return {};
    return QStringLiteral("\n%1：%2%3").arg(title, items.join(QStringLiteral("、")), after);
}

} // namespace

QString rosterChangeCaption(const RosterPlan &plan, int row)
{
    const RosterRowPlan &r = plan.rows[row];
    const Pupil before = plan.before.value(r.pupil);
    switch (rowChange(plan, row)) {
    case RosterChange::New: return r.asked() ? QStringLiteral("別の子（新しく加える）") : QStringLiteral("新しく加える");
    case RosterChange::Unchanged: return QStringLiteral("変わらず");
    case RosterChange::Updated: return QStringLiteral("更新");
    case RosterChange::Renumbered: return QStringLiteral("%1→%2番").arg(before.number).arg(r.incoming.number);
    case RosterChange::Renamed: return QStringLiteral("同じ子（%1 から名前を変える）").arg(before.name);
    }
    return {};
}

QString rosterPlanSummary(const RosterPlan &plan)
{
    int counts[5] = {};
    int asked = 0;
    QStringList withoutBlank;
    for (int r = 0; r < plan.rows.size(); ++r) {
        ++counts[int(rowChange(plan, r))];
        asked += plan.rows[r].asked() ? 1 : 0;
        const RosterRowPlan &row = plan.rows[r];
        if (!nameHasBlank(row.incoming.name) && plan.before.value(row.pupil).calledAs.isEmpty())
            withoutBlank.append(row.incoming.name);
    }
    QString text = QStringLiteral("追加 %1人　番号が変わる %2人　名前が変わる %3人　更新 %4人　変わらず %5人")
                       .arg(counts[int(RosterChange::New)])
                       .arg(counts[int(RosterChange::Renumbered)])
                       .arg(counts[int(RosterChange::Renamed)])
                       .arg(counts[int(RosterChange::Updated)])
                       .arg(counts[int(RosterChange::Unchanged)]);
    if (asked > 0)
        text += QStringLiteral("\n黄色の %1行は、同じ子かどうかを「変わること」の欄で選んでください。").arg(asked);
    QStringList missing;
    for (int p : missingPupils(plan))
        missing.append(pupilLabel(plan.before[p]));
    text += listed(QStringLiteral("名簿にない児童・生徒"), missing, QStringLiteral("（消さずに残します）"));
    text += listed(QStringLiteral("姓と名の区切りがない名前"), withoutBlank);
    for (const QString &problem : plan.problems)
        text += u'\n' + problem;
    return text;
}

QString rosterMergeReport(const RosterMerge &merge)
{
    if (!merge.ok)
        return merge.reason;
    QString text = QStringLiteral("名簿を取り込みました。\n追加 %1人　番号が変わった %2人　名前が変わった %3人　更新 %4人　変わらず %5人")
                       .arg(merge.added)
                       .arg(merge.renumbered.size())
                       .arg(merge.renamed.size())
                       .arg(merge.updated)
                       .arg(merge.unchanged);
    text += listed(QStringLiteral("番号が変わった"), merge.renumbered);
    text += listed(QStringLiteral("名前が変わった"), merge.renamed);
    text += listed(QStringLiteral("名簿にない児童・生徒"), merge.missing, QStringLiteral("（そのまま残しました）"));
    text += listed(QStringLiteral("出席番号を外した児童・生徒"), merge.numberCleared,
                   QStringLiteral("（その番号は名簿でほかの子の番号です）"));
    text += listed(QStringLiteral("姓と名の区切りがない名前"), merge.withoutBlank,
                   QStringLiteral("（「児童・生徒の訂正」で呼び名を入れられます）"));
    for (const QString &problem : merge.problems)
        text += u'\n' + problem;
    return text;
}

RosterPlan planRosterTable(const ClassBook &book, const RosterTable &table)
{
    const RosterPupils read = rosterPupils(table);
    RosterPlan plan = planRoster(book, read.pupils, read.lines);
    plan.problems = read.problems + plan.problems;
    return plan;
}

QList<int> rosterChoices(const RosterRowPlan &row)
{
    QList<int> choices = row.candidates;
    choices.append(-1);
    return choices;
}

QString rosterChoiceCaption(const RosterPlan &plan, int row, int pupil)
{
    if (pupil < 0)
        return QStringLiteral("別の子（新しく加える）");
    const Pupil &before = plan.before.value(pupil);
    const Pupil &in = plan.rows[row].incoming;
    if (looseName(before.name) != looseName(in.name))
        return QStringLiteral("同じ子（名前を変える）　%1番：%2 → %3").arg(before.number).arg(before.name, in.name);
    return QStringLiteral("同じ子：%1").arg(pupilLabel(before));
}
