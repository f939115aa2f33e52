#pragma once

#include "Category.h"
#include "Journal.h"
#include "LibraryFiles.h"

#include <array>
#include <functional>

// The three categories of one run on one working folder: loading them, saving them, and
// the recovery journal that holds every change on the disk between two saves. A journal
// left by a run that ended without saving (a crash, a kill, a power cut) can be replayed.
class LibrarySession {
public:
    explicit LibrarySession(const QString &folder);
    LibrarySession(const LibrarySession &) = delete;
    LibrarySession &operator=(const LibrarySession &) = delete;

    Category &category(int index) { return m_categories[index]; }
    const DataFolder &folder() const { return m_folder; }

    // Removes what an interrupted save left behind and reads the three files. Returns
    // what the teacher is told about them.
    [[nodiscard]] QStringList load();

    // Journals of earlier runs that ended without saving, and what they hold.
    bool hasLeftoverChanges() const { return !m_leftovers.isEmpty(); }
    // Applies them to the categories, as changes of this run (in its journal too), and
    // removes the old journals. Returns how many changes were applied and skipped.
    ReplayResult recoverLeftoverChanges();
    // The teacher does not want them: the old journals are set aside under another name,
    // never offered again, never deleted.
    void setLeftoverChangesAside();

    struct SaveAll {
        bool ok = true;       // every category's work is on the disk
        QStringList messages; // for the teacher
    };
    // Saves every category; once all are saved the journal goes.
    [[nodiscard]] SaveAll save(const AskOverwrite &askOverwrite);

    // Why the journal could not be written, once (then empty until the next failure).
    QString takeJournalProblem();

    // Told the category of every example added, corrected or deleted, after the change:
    // by the teacher or by a recovery.
    void setChangeObserver(std::function<void(int category)> observer) { m_observer = std::move(observer); }

private:
    void journal(int category, JournalEntry entry);

    DataFolder m_folder;
    std::array<Category, 3> m_categories;
    Journal m_journal;
    QStringList m_leftovers;
    QString m_journalProblem;
    bool m_journalProblemTold = false;
    std::function<void(int)> m_observer;
};
