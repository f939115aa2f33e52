#include "Category.h"

#include "Characters.h"
#include "Codec.h"

const std::array<CategoryRules, 3> &categoryRules()
{
    static const std::array<CategoryRules, 3> rules{{
        {QStringLiteral("Kotoban1.txt"), QStringLiteral("学習について"), true, false},
        {QStringLiteral("Kotoban2.txt"), QStringLiteral("道徳、特活、総合、行事"), true, true},
        {QStringLiteral("Kotoban3.txt"), QStringLiteral("日常生活について"), false, true},
    }};
    return rules;
}

Category::Category(const CategoryRules &rules) : m_rules(&rules), m_title(rules.defaultTitle) {}

const Example &Category::record(int number) const
{
    static const Example none;
    return number >= 1 && number <= count() ? m_examples[number - 1] : none;
}

QList<Example> Category::recordsToSave() const { return m_examples + m_overflow; }

void Category::load(const QString &title, const QList<Example> &records)
{
    m_title = title;
    m_examples = records.mid(0, EDLimit);
    m_overflow = records.mid(m_examples.size());
}

void Category::restore(const QString &title, const QList<Example> &records)
{
    load(title, records);
    ++m_changes;
}

void Category::noteChange(JournalEntry::Operation operation, int record, const Example &example, const Example &previous)
{
    ++m_changes;
    if (!m_listener)
        return;
    JournalEntry entry;
    entry.operation = operation;
    entry.record = record;
    entry.fields = example.field;
    entry.previous = previous.field;
    m_listener(entry);
}

QStringList Category::firstLevelClasses() const
{
    DistinctValues classes;
    classes.add(record(1).firstClass());
    for (const Example &example : m_examples)
        classes.add(example.firstClass());
    return classes.values();
}

Narrowed Category::narrowFirst(const QString &first) const
{
    Narrowed narrowed;
    DistinctValues classes;
    for (int r = 1; r <= count(); ++r) {
        if (record(r).firstClass() == first) {
            narrowed.records.append(r);
            classes.add(record(r).secondClass());
        }
    }
    narrowed.nextClasses = classes.values();
    return narrowed;
}

Narrowed Category::narrowSecond(const QList<int> &firstLevel, const QString &first, const QString &second) const
{
    Narrowed narrowed;
    DistinctValues classes;
    for (int r : firstLevel) {
        const Example &example = record(r);
        // Categories 2 and 3 look for the first match under the first-level text as well;
        // every later example is matched on its second-level class alone.
        const bool matches = example.secondClass() == second
            && (!narrowed.records.isEmpty() || !rules().secondLevelChecksFirst || example.firstClass() == first);
        if (matches) {
            narrowed.records.append(r);
            classes.add(example.thirdClass());
        }
    }
    narrowed.nextClasses = classes.values();
    return narrowed;
}

QList<int> Category::narrowThird(const QList<int> &secondLevel, const QString &third) const
{
    QList<int> records;
    for (int r : secondLevel)
        if (record(r).thirdClass() == third)
            records.append(r);
    return records;
}

QStringList Category::unstorable(const QStringList &texts) const
{
    // A double quote would end the field early; some characters have no code in the
    // file's encoding.
    QString found;
    for (const QString &text : texts) {
        if (text.contains(u'"'))
            found += u'"';
        found += unencodableCharacters(text, origin.encoding);
    }
    return distinctCharacters(found);
}

EditResult Category::add(const Example &example)
{
    if (count() >= EDLimit)
        return {EditRefusal::Full, {}, 0};
    const QStringList characters = unstorable(QStringList(example.field.begin(), example.field.end()));
    if (!characters.isEmpty())
        return {EditRefusal::Unstorable, characters, 0};
    Example added;
    added.field = example.field;
    m_examples.append(added);
    noteChange(JournalEntry::Operation::Add, count(), added);
    return {EditRefusal::None, {}, count()};
}

EditResult Category::correct(int record, const QString &sentence)
{
    if (record < 1 || record > count())
        return {EditRefusal::NothingSelected, {}, 0};
    const QStringList characters = unstorable({sentence});
    if (!characters.isEmpty())
        return {EditRefusal::Unstorable, characters, 0};
    // The classes keep the bytes they were read from; the writer rewrites the sentence alone.
    const Example previous = m_examples[record - 1];
    m_examples[record - 1].field[3] = sentence;
    noteChange(JournalEntry::Operation::Correct, record, m_examples[record - 1], previous);
    return {EditRefusal::None, {}, record};
}

EditResult Category::remove(int record)
{
    if (record < 1 || record > count())
        return {EditRefusal::NothingSelected, {}, 0};
    if (count() > 1) {
        const Example removed = m_examples.takeAt(record - 1);
        noteChange(JournalEntry::Operation::Delete, record, removed);
    }
    return {EditRefusal::None, {}, qMax(m_position - 1, 1)};
}

int Category::step(int from, int direction) const
{
    if (direction > 0)
        return from >= count() ? 1 : from + 1;
    return from <= 1 ? count() : from - 1;
}
