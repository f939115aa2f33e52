#pragma once

#include "DataFile.h"
#include "Journal.h"
#include "Library.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The rules that tell the three categories apart. Everything else is the same code.
struct CategoryRules {
    QString fileName;            // Kotoban1.txt ...
    QString defaultTitle;        // the title before a file gives one, and of a new file
    bool fieldsCanBeUnset;       // categories 1 and 2 keep empty fields of the file unset
    bool secondLevelChecksFirst; // categories 2 and 3 also test the first-level class
};

const std::array<CategoryRules, 3> &categoryRules();

// One step of the narrowing: the record numbers that match, and the distinct classes of
// the next level among them, in order of first occurrence.
struct Narrowed {
    QList<int> records;
    QStringList nextClasses;
};

// Why an edit was refused, if it was.
enum class EditRefusal { None, Full, Unstorable, NothingSelected };

struct EditResult {
    EditRefusal refusal = EditRefusal::None;
    QStringList characters; // for Unstorable: the characters the file cannot hold
    int record = 0;         // the record added, corrected, or to show after a removal

    bool ok() const { return refusal == EditRefusal::None; }
};

// One category's examples, in library order (record numbers from 1), with the title and
// the file they came from, and the browsing position. Records a file held beyond the
// capacity are kept aside, untouched, so that saving writes them back.
class Category {
public:
    explicit Category(const CategoryRules &rules);

    const CategoryRules &rules() const { return *m_rules; }
    QString title() const { return m_title; }
    int count() const { return int(m_examples.size()); }
    // The record's example; outside 1..count an empty one, so that the first row still
    // seeds the first-level list of a category without examples.
    const Example &record(int number) const;
    const QList<Example> &overflow() const { return m_overflow; }
    // The records a save writes: the examples, then those kept aside.
    QList<Example> recordsToSave() const;

    FileOrigin origin;

    // Takes a file's title and records: the first EDLimit become the examples.
    void load(const QString &title, const QList<Example> &records);

    // Narrowing, as the three classification lists do it.
    [[nodiscard]] QStringList firstLevelClasses() const;
    [[nodiscard]] Narrowed narrowFirst(const QString &first) const;
    [[nodiscard]] Narrowed narrowSecond(const QList<int> &firstLevel, const QString &first,
                                        const QString &second) const;
    [[nodiscard]] QList<int> narrowThird(const QList<int> &secondLevel, const QString &third) const;

    // Editing. Nothing changes when a result is refused.
    [[nodiscard]] EditResult add(const Example &example);
    [[nodiscard]] EditResult correct(int record, const QString &sentence);
    // Removes a record; the only example of a category stays. The result's record is
    // the one to show afterwards: the one before the browsing position.
    [[nodiscard]] EditResult remove(int record);
    // True once the teacher added, corrected or removed an example in this run.
    bool changed() const { return m_changes > 0; }
    // How many changes this run made; a save notes the number it wrote (origin.savedChanges).
    int changes() const { return m_changes; }
    bool hasUnsavedChanges() const { return m_changes != origin.savedChanges; }
    // Told of every change as it happens, as a journal entry (its category left 0).
    void setChangeListener(std::function<void(const JournalEntry &)> listener) { m_listener = std::move(listener); }
    // Takes back records that a recovery gave back: a change, as the teacher's own were.
    void restore(const QString &title, const QList<Example> &records);

    // Browsing: the record one step from `from` in library order, wrapping at both ends.
    [[nodiscard]] int step(int from, int direction) const;
    int position() const { return m_position; }
    void setPosition(int record) { m_position = record; }

private:
    QStringList unstorable(const QStringList &texts) const;
    void noteChange(JournalEntry::Operation operation, int record, const Example &example, const Example &previous = {});

    const CategoryRules *m_rules;
    QString m_title;
    QList<Example> m_examples;
    QList<Example> m_overflow;
    int m_position = 1;
    int m_changes = 0;
    std::function<void(const JournalEntry &)> m_listener;
};
