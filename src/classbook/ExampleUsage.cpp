#include "ExampleUsage.h"

#include "Naming.h"

ExampleUsage exampleUsage(const ClassBook &book, const DuplicateSentences &index, const QString &example)
{
    ExampleUsage usage;
    QList<bool> holds(book.pupils.size(), false);
    for (const QString &sentence : comparedSentences(example)) {
        usage.compared = true;
        if (!hasPlaceholder(sentence)) {
            for (const int pupil : index.pupilsHolding(sentence))
                holds[pupil] = true;
            continue;
        }
        for (int pupil = 0; pupil < book.pupils.size(); ++pupil) {
            const QString filled = fillPlaceholders(sentence, callName(book.pupils[pupil], book.naming));
            if (!holds[pupil] && index.pupilsHolding(filled).contains(pupil))
                holds[pupil] = true;
        }
    }
    for (int pupil = 0; pupil < holds.size(); ++pupil) {
        if (holds[pupil])
            usage.pupils.append(pupil);
    }
    return usage;
}

QString exampleUsageLine(const ClassBook &book, const ExampleUsage &usage, int named)
{
    if (!usage.compared)
        return {};
    if (usage.pupils.isEmpty())
        return QStringLiteral("この例文は、この学級ではまだだれも使っていません。");
    QStringList names;
    for (const int pupil : usage.pupils.mid(0, named)) {
        const Pupil &p = book.pupils[pupil];
        const QString name = callName(p, book.naming);
        names.append(p.number > 0 ? QStringLiteral("%1番 %2").arg(p.number).arg(name) : name);
    }
    if (usage.pupils.size() > named)
        names.append(QStringLiteral("ほか %1 人").arg(usage.pupils.size() - named));
    return QStringLiteral("この例文は %1 人が使っています：%2").arg(usage.pupils.size()).arg(names.join(QStringLiteral("、")));
}
