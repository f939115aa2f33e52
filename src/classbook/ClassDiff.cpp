#include "ClassDiff.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Half-width, full-width and repeated blanks count as one.
QString nameKey(const QString &name)
{
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}]+"));
    return QString(name).replace(blanks, QStringLiteral(" ")).trimmed();
}

// For each pupil of after, the pupil of before it is (or -1): same name and number first, so
// that two children of one name are told apart, then same name.
QList<int> matchPupils(const ClassBook &before, const ClassBook &after)
{
    QMultiHash<QString, int> byName;
    for (int i = 0; i < before.pupils.size(); ++i)
        byName.insert(nameKey(before.pupils[i].name), i);
    QList<int> match(after.pupils.size(), -1);
    QList<bool> taken(before.pupils.size(), false);
    for (const bool sameNumber : {true, false}) {
        for (int i = 0; i < after.pupils.size(); ++i) {
            if (match[i] >= 0)
                continue;
            QList<int> candidates = byName.values(nameKey(after.pupils[i].name));
            std::sort(candidates.begin(), candidates.end());
            for (const int old : std::as_const(candidates)) {
                if (!taken[old] && (!sameNumber || before.pupils[old].number == after.pupils[i].number)) {
                    match[i] = old;
                    taken[old] = true;
                    break;
                }
            }
        }
    }
    return match;
}

// For each field of after, the field of before it is (or -1).
QList<int> matchFields(const ClassBook &before, const ClassBook &after, ClassDiff &diff)
{
    QList<int> match(after.fields.size(), -1);
    QList<bool> taken(before.fields.size(), false);
    for (int f = 0; f < after.fields.size(); ++f) {
        for (int old = 0; old < before.fields.size(); ++old) {
            if (!taken[old] && before.fields[old].name == after.fields[f].name) {
                match[f] = old;
                taken[old] = true;
                break;
            }
        }
    }
    int nextOld = 0;
    for (int f = 0; f < after.fields.size(); ++f) {
        if (match[f] >= 0)
            continue;
        while (nextOld < before.fields.size() && taken[nextOld])
            ++nextOld;
        if (nextOld < before.fields.size()) {
            match[f] = nextOld;
            taken[nextOld] = true;
            diff.renamedFields.append({f, before.fields[nextOld].name});
        } else {
            diff.addedFields.append(f);
        }
    }
    for (int old = 0; old < before.fields.size(); ++old) {
        if (!taken[old])
            diff.removedFields.append(before.fields[old].name);
    }
    return match;
}

} // namespace

ClassDiff diffClasses(const ClassBook &before, const ClassBook &after)
{
    ClassDiff diff;
    const QList<int> fields = matchFields(before, after, diff);
    const QList<int> pupils = matchPupils(before, after);
    QList<bool> kept(before.pupils.size(), false);
    for (int p = 0; p < after.pupils.size(); ++p) {
        const Pupil &now = after.pupils[p];
        if (pupils[p] < 0) {
            diff.addedPupils.append(p);
            continue;
        }
        const Pupil &then = before.pupils[pupils[p]];
        kept[pupils[p]] = true;
        if (then.number != now.number)
            diff.renumbered.append({p, then.number});
        for (int f = 0; f < after.fields.size(); ++f) {
            const QString earlier = fields[f] >= 0 ? then.texts.value(fields[f]) : QString();
            const QString later = now.texts.value(f);
            if (earlier != later)
                diff.changes.append({p, f, diffTexts(earlier, later)});
        }
    }
    for (int old = 0; old < before.pupils.size(); ++old) {
        if (!kept[old])
            diff.removedPupils.append(before.pupils[old]);
    }
    return diff;
}

QSet<CellRef> changedCells(const ClassDiff &diff, const ClassBook &after)
{
    QSet<CellRef> cells;
    for (const FieldChange &change : diff.changes)
        cells.insert({change.pupil, change.field});
    for (const int pupil : diff.addedPupils) {
        for (int f = 0; f < after.fields.size(); ++f) {
            if (!after.pupils[pupil].texts.value(f).isEmpty())
                cells.insert({pupil, f});
        }
    }
    return cells;
}
