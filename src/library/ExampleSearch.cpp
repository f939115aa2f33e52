#include "ExampleSearch.h"

#include "Characters.h"

namespace {

bool inScope(const ExampleQuery &query, int category) { return query.category < 0 || query.category == category; }

} // namespace

QStringList searchWords(const QString &text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        // QChar::isSpace() covers the full-width blank U+3000 that a Japanese input method types.
        if (c.isSpace()) {
            if (!word.isEmpty())
                words.append(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

bool matchesWords(const Example &example, const QStringList &words)
{
    for (const QString &word : words) {
        bool found = false;
        for (const QString &field : example.field)
            found = found || field.contains(word);
        if (!found)
            return false;
    }
    return true;
}

QList<int> narrowedRecords(const Category &category, const QStringList &classes)
{
    QList<int> records;
    if (classes.isEmpty()) {
        for (int r = 1; r <= category.count(); ++r)
            records.append(r);
        return records;
    }
    records = category.narrowFirst(classes[0]).records;
    if (classes.size() >= 2)
        records = category.narrowSecond(records, classes[0], classes[1]).records;
    if (classes.size() >= 3)
        records = category.narrowThird(records, classes[2]);
    return records;
}

QList<FoundExample> findExamples(const Categories &categories, const ExampleQuery &query)
{
    const QStringList words = searchWords(query.words);
    QList<FoundExample> found;
    for (int c = 0; c < int(categories.size()); ++c) {
        if (!categories[c] || !inScope(query, c))
            continue;
        for (int r : narrowedRecords(*categories[c], query.classes))
            if (matchesWords(categories[c]->record(r), words))
                found.append({c, r});
    }
    return found;
}

QStringList classChoices(const Categories &categories, const ExampleQuery &query)
{
    DistinctValues choices;
    for (int c = 0; c < int(categories.size()); ++c) {
        const Category *category = categories[c];
        if (!category || !inScope(query, c) || category->count() == 0)
            continue;
        QStringList classes;
        switch (query.classes.size()) {
        case 0: classes = category->firstLevelClasses(); break;
        case 1: classes = category->narrowFirst(query.classes[0]).nextClasses; break;
        case 2: {
            const QList<int> first = category->narrowFirst(query.classes[0]).records;
            classes = category->narrowSecond(first, query.classes[0], query.classes[1]).nextClasses;
            break;
        }
        default: break;
        }
        for (const QString &value : std::as_const(classes))
            choices.add(value);
    }
    return choices.values();
}
