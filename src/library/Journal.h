#pragma once

#include "Library.h"
#include "SafeSave.h"

#include <QFile>
#include <QList>

#include <array>

// The recovery journal: every add, correction and delete is appended to a small file in
// the working folder as it happens, and synced, so that a crash, a kill or a power cut
// between two saves loses at most the change being typed. A successful save removes it.
// Each run writes its own journal (two windows on one folder do not mix their changes),
// locked while the run lives: one that nobody holds was left by a run that did not end
// cleanly.

struct JournalEntry {
    // Saved: the category's file now holds every earlier entry of that category.
    enum class Operation { Add, Correct, Delete, Saved };
    int category = 0; // 0, 1, 2
    Operation operation = Operation::Add;
    int record = 0; // 1-based: where the example was added, corrected or deleted
    std::array<QString, 4> fields;   // the example after the change; for a delete, the one deleted
    std::array<QString, 4> previous; // for a correction: the example before it

    bool operator==(const JournalEntry &other) const;
};

class Journal {
public:
    // A journal for this run in folder; the file is made at the first append.
    explicit Journal(const QString &folder);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    const QString &path() const { return m_path; }

    // Returns once the entry is on the disk.
    [[nodiscard]] SaveResult append(const JournalEntry &entry);
    // Nothing left to recover: closes and removes the file (a new one is made at the next append).
    [[nodiscard]] SaveResult remove();

private:
    [[nodiscard]] SaveResult open();

    const QString m_stem; // the folder and the name without ".journal"
    QString m_path;
    QFile m_file;
};

// Whether a file's name is that of a run's journal.
[[nodiscard]] bool isJournalName(QStringView name);

// The journals in folder left by runs that ended without removing theirs, oldest first.
[[nodiscard]] QStringList leftoverJournals(const QString &folder);

struct JournalContent {
    QList<JournalEntry> entries; // those not yet saved, in order
    QList<int> damagedLines; // 1-based; the last one is usually an entry cut off by the crash
};
[[nodiscard]] JournalContent readJournal(const QString &path);

struct ReplayResult {
    int applied = 0;
    int skipped = 0; // entries that no longer fit the records (the file was changed since)
    QList<JournalEntry> appliedEntries;
};

// Applies a category's entries to its records, in order. An entry is applied only where
// it fits: a correction or a delete only to the example it was made on, an add only
// within the records; the others are counted, never forced.
[[nodiscard]] ReplayResult replayJournal(const QList<JournalEntry> &entries, int category, QVector<Example> &records);
