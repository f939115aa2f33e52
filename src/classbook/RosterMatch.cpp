#include "RosterMatch.h"

#include "ClassChecks.h"
#include "ClassEditing.h"
#include "Naming.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

bool kanaFits(const QString &a, const QString &b) { return a.isEmpty() || b.isEmpty() || looseName(a) == looseName(b); }

bool fits(const Pupil &row, const Pupil &pupil)
{
    return looseName(row.name) == looseName(pupil.name) && kanaFits(row.kana, pupil.kana);
}

// Rows and class pupils of one name that could be one another.
struct Group {
    QList<int> rows;
    QList<int> pupils;
};

class Planner
{
public:
    Planner(const ClassBook &book, RosterPlan &plan) : m_pupils(book.pupils), m_plan(plan) {}

    void run()
    {
        for (const Group &group : groups())
            decide(group);
        offerRenames();
    }

private:
    const Pupil &rowPupil(int row) const { return m_plan.rows[row].incoming; }

    // The rows and pupils joined by fits(), one group per connected set; within one name,
    // different ふりがな keep rows and pupils apart.
    QList<Group> groups() const
    {
        QHash<QString, QList<int>> pupilsByName;
        for (int p = 0; p < m_pupils.size(); ++p)
            pupilsByName[looseName(m_pupils[p].name)].append(p);
        QHash<QString, QList<int>> rowsByName;
        QStringList names; // in roster order, so that the plan does not depend on hashing
        for (int r = 0; r < m_plan.rows.size(); ++r) {
            const QString name = looseName(rowPupil(r).name);
            if (!rowsByName.contains(name))
                names.append(name);
            rowsByName[name].append(r);
        }
        QList<Group> result;
        for (const QString &name : std::as_const(names)) {
            const QList<int> rows = rowsByName.value(name);
            const QList<int> pupils = pupilsByName.value(name);
            // Union-find over the rows (0..) and then the pupils of this name.
            QList<int> parent(rows.size() + pupils.size());
            for (int i = 0; i < parent.size(); ++i)
                parent[i] = i;
            const auto root = [&parent](int i) {
                while (parent[i] != i)
                    i = parent[i] = parent[parent[i]];
                return i;
            };
            for (int r = 0; r < rows.size(); ++r) {
                for (int p = 0; p < pupils.size(); ++p) {
                    if (fits(rowPupil(rows[r]), m_pupils[pupils[p]]))
                        parent[root(int(rows.size()) + p)] = root(r);
                }
            }
            QHash<int, int> groupOf; // root -> index in result
            for (int i = 0; i < parent.size(); ++i) {
                const bool isRow = i < rows.size();
                if (!isRow && root(i) >= rows.size())
                    continue; // a pupil no row fits
                auto group = groupOf.constFind(root(i));
                if (group == groupOf.constEnd()) {
                    group = groupOf.insert(root(i), int(result.size()));
                    result.append(Group());
                }
                if (isRow)
                    result[*group].rows.append(rows[i]);
                else
                    result[*group].pupils.append(pupils[i - rows.size()]);
            }
        }
        return result;
    }

    void decide(Group group)
    {
        if (group.pupils.isEmpty())
            return; // new pupils (or renamed ones: see offerRenames)
        if (group.rows.size() == 1 && group.pupils.size() == 1) {
            pair(group.rows[0], group.pupils[0]);
            return;
        }
        if (pairByNumber(group))
            return;
        pairByKana(group);
        if (group.rows.size() == 1 && group.pupils.size() == 1 && fits(rowPupil(group.rows[0]), m_pupils[group.pupils[0]])) {
            pair(group.rows[0], group.pupils[0]);
            return;
        }
        ask(group);
    }

    void pair(int row, int pupil)
    {
        m_plan.rows[row].pupil = pupil;
        m_taken.insert(pupil);
    }

    // Every pupil of the name kept their number: the numbers tell them apart.
    bool pairByNumber(const Group &group)
    {
        if (group.rows.size() != group.pupils.size())
            return false;
        QList<QPair<int, int>> pairs;
        for (int row : group.rows) {
            const auto same = std::find_if(group.pupils.cbegin(), group.pupils.cend(), [&](int p) {
                return rowPupil(row).number != 0 && m_pupils[p].number == rowPupil(row).number
                    && fits(rowPupil(row), m_pupils[p]);
            });
            if (same == group.pupils.cend())
                return false;
            pairs.append({row, *same});
        }
        for (const auto &[row, pupil] : pairs)
            pair(row, pupil);
        return true;
    }

    // A ふりがな that one row and one pupil of the name share, and nobody else, pairs them.
    void pairByKana(Group &group)
    {
        for (int r = 0; r < group.rows.size(); ++r) {
            const QString kana = looseName(rowPupil(group.rows[r]).kana);
            if (kana.isEmpty())
                continue;
            auto sameKana = [&kana](const Pupil &pupil) { return looseName(pupil.kana) == kana; };
            const auto rows = std::count_if(group.rows.cbegin(), group.rows.cend(),
                                            [&](int row) { return sameKana(rowPupil(row)); });
            QList<int> pupils;
            for (int p : std::as_const(group.pupils)) {
                if (sameKana(m_pupils[p]))
                    pupils.append(p);
            }
            if (rows != 1 || pupils.size() != 1)
                continue;
            pair(group.rows[r], pupils[0]);
            group.pupils.removeOne(pupils[0]);
            group.rows.removeAt(r);
            r = -1;
        }
    }

    // The teacher chooses; the proposal keeps the pupils' order (a newcomer or a leaver
    // shifts the numbers of those after them, never their order).
    void ask(const Group &group)
    {
        QList<int> rows = group.rows;
        std::stable_sort(rows.begin(), rows.end(), [this](int a, int b) {
            const int na = rowPupil(a).number;
            const int nb = rowPupil(b).number;
            return na != 0 && (nb == 0 || na < nb);
        });
        QSet<int> proposed;
        for (int row : std::as_const(rows)) {
            RosterRowPlan &plan = m_plan.rows[row];
            for (int p : group.pupils) {
                if (fits(plan.incoming, m_pupils[p]))
                    plan.candidates.append(p);
            }
            for (int p : std::as_const(plan.candidates)) {
                if (!proposed.contains(p)) {
                    plan.pupil = p;
                    proposed.insert(p);
                    break;
                }
            }
        }
        for (int p : group.pupils)
            m_taken.insert(p);
    }

    // A new row whose 出席番号 is a class pupil's that nobody took, with a name the roster does
    // not have, or a pupil of the row's name whose ふりがな differs: perhaps the same child.
    void offerRenames()
    {
        QSet<QString> rosterNames;
        for (const RosterRowPlan &row : std::as_const(m_plan.rows))
            rosterNames.insert(looseName(row.incoming.name));
        for (RosterRowPlan &row : m_plan.rows) {
            if (row.pupil >= 0 || row.asked())
                continue;
            for (int p = 0; p < m_pupils.size(); ++p) {
                if (m_taken.contains(p))
                    continue;
                const Pupil &pupil = m_pupils[p];
                const bool sameNumber = row.incoming.number != 0 && pupil.number == row.incoming.number
                    && !rosterNames.contains(looseName(pupil.name));
                if (sameNumber || looseName(pupil.name) == looseName(row.incoming.name))
                    row.candidates.append(p);
            }
            for (int p : std::as_const(row.candidates))
                m_taken.insert(p);
        }
    }

    const QList<Pupil> &m_pupils;
    RosterPlan &m_plan;
    QSet<int> m_taken; // pupils a row is, or may be
};

QString numberedName(const Pupil &pupil) { return pupilLabel(pupil); }

} // namespace

QString looseName(const QString &name)
{
    QString result;
    result.reserve(name.size());
    bool blank = false;
    for (QChar c : name.trimmed()) {
        if (c == u' ' || c == u'\u3000' || c == u'\t') {
            blank = true;
            continue;
        }
        if (blank)
            result.append(u' ');
        blank = false;
        result.append(c);
    }
    return result;
}

RosterPlan planRoster(const ClassBook &book, const QList<Pupil> &incoming, const QList<int> &lines)
{
    RosterPlan plan;
    plan.before = book.pupils;
    QSet<int> numbers;
    for (int i = 0; i < incoming.size(); ++i) {
        const Pupil &pupil = incoming[i];
        const int line = lines.value(i, i + 1);
        if (pupil.number != 0 && numbers.contains(pupil.number)) {
            plan.problems.append(QStringLiteral("%1行目: 出席番号 %2 が名簿に二度あるので、%3 さんは取り込みません。")
                                     .arg(line)
                                     .arg(pupil.number)
                                     .arg(pupil.name));
            continue;
        }
        numbers.insert(pupil.number);
        RosterRowPlan row;
        row.line = line;
        row.incoming = pupil;
        row.incoming.texts.clear();
        plan.rows.append(row);
    }
    Planner(book, plan).run();
    return plan;
}

RosterChange rowChange(const RosterPlan &plan, int row)
{
    const RosterRowPlan &r = plan.rows[row];
    if (r.pupil < 0 || r.pupil >= plan.before.size())
        return RosterChange::New;
    const Pupil &now = plan.before[r.pupil];
    const Pupil &in = r.incoming;
    if (looseName(in.name) != looseName(now.name))
        return RosterChange::Renamed;
    if (in.number != 0 && in.number != now.number)
        return RosterChange::Renumbered;
    if (in.name != now.name || (!in.kana.isEmpty() && in.kana != now.kana) || (!in.sex.isEmpty() && in.sex != now.sex))
        return RosterChange::Updated;
    return RosterChange::Unchanged;
}

QList<int> missingPupils(const RosterPlan &plan)
{
    QSet<int> chosen;
    for (const RosterRowPlan &row : plan.rows)
        chosen.insert(row.pupil);
    QList<int> missing;
    for (int p = 0; p < plan.before.size(); ++p) {
        if (!chosen.contains(p))
            missing.append(p);
    }
    return missing;
}

QString choiceProblem(const RosterPlan &plan)
{
    QSet<int> chosen;
    for (const RosterRowPlan &row : plan.rows) {
        if (row.pupil < 0)
            continue;
        if (chosen.contains(row.pupil))
            return QStringLiteral("%1 を二つの行で選んでいます。どちらかを選び直してください。")
                .arg(numberedName(plan.before.value(row.pupil)));
        chosen.insert(row.pupil);
    }
    return {};
}

RosterMerge applyRosterPlan(ClassBook &book, const RosterPlan &plan)
{
    RosterMerge result;
    result.problems = plan.problems;
    const QString problem = choiceProblem(plan);
    if (book.pupils != plan.before || !problem.isEmpty()) {
        result.ok = false;
        result.reason = problem.isEmpty() ? QStringLiteral("取り込みの間に学級が変わったので、何も変えていません。"
                                                           "名簿をもう一度取り込んでください。")
                                          : problem;
        return result;
    }
    alignTexts(book);
    QSet<int> rosterNumbers;
    QSet<int> numbered; // pupils whose number the roster gave
    for (int r = 0; r < plan.rows.size(); ++r) {
        const RosterRowPlan &row = plan.rows[r];
        const Pupil &in = row.incoming;
        if (in.number != 0)
            rosterNumbers.insert(in.number);
        const RosterChange change = rowChange(plan, r);
        if (change == RosterChange::New) {
            Pupil added = in;
            added.texts = QStringList(book.fields.size(), QString());
            book.pupils.append(added);
            numbered.insert(int(book.pupils.size()) - 1);
            ++result.added;
        } else {
            Pupil &pupil = book.pupils[row.pupil];
            if (change == RosterChange::Renumbered)
                result.renumbered.append(QStringLiteral("%1（%2→%3番）").arg(in.name).arg(pupil.number).arg(in.number));
            if (change == RosterChange::Renamed)
                result.renamed.append(QStringLiteral("%1番：%2 → %3").arg(in.number).arg(pupil.name, in.name));
            result.updated += change == RosterChange::Updated ? 1 : 0;
            result.unchanged += change == RosterChange::Unchanged ? 1 : 0;
            if (in.number != 0) {
                pupil.number = in.number;
                numbered.insert(row.pupil);
            }
            pupil.name = in.name;
            if (!in.kana.isEmpty())
                pupil.kana = in.kana;
            if (!in.sex.isEmpty())
                pupil.sex = in.sex;
        }
        const Pupil &now = book.pupils[change == RosterChange::New ? int(book.pupils.size()) - 1 : row.pupil];
        if (!nameHasBlank(now.name) && now.calledAs.isEmpty())
            result.withoutBlank.append(now.name);
    }
    for (int p : missingPupils(plan))
        result.missing.append(numberedName(book.pupils[p]));
    for (int p = 0; p < book.pupils.size(); ++p) {
        Pupil &pupil = book.pupils[p];
        if (!numbered.contains(p) && pupil.number != 0 && rosterNumbers.contains(pupil.number)) {
            result.numberCleared.append(numberedName(pupil));
            pupil.number = 0;
        }
    }
    sortPupils(book);
    return result;
}

RosterMerge mergeRoster(ClassBook &book, const QList<Pupil> &pupils)
{
    return applyRosterPlan(book, planRoster(book, pupils));
}
