#include "LibrarySession.h"

#include <QFile>
#include <QFileInfo>

LibrarySession::LibrarySession(const QString &folder)
    : m_folder(folder),
      m_categories{Category(categoryRules()[0]), Category(categoryRules()[1]), Category(categoryRules()[2])},
      m_journal(folder)
{
    for (int i = 0; i < 3; ++i)
        m_categories[i].setChangeListener([this, i](const JournalEntry &entry) { journal(i, entry); });
}

QStringList LibrarySession::load()
{
    (void)removeLeftoverTemporaries(m_folder.dir().path());
    QStringList problems;
    for (Category &category : m_categories)
        problems += loadCategory(category, m_folder.dir());
    m_leftovers = leftoverJournals(m_folder.dir().path());
    return problems;
}

ReplayResult LibrarySession::recoverLeftoverChanges()
{
    QList<JournalEntry> entries;
    for (const QString &path : std::as_const(m_leftovers))
        entries += readJournal(path).entries;
    ReplayResult total;
    for (int i = 0; i < 3; ++i) {
        QList<Example> records = m_categories[i].recordsToSave();
        const ReplayResult replayed = replayJournal(entries, i, records);
        total.applied += replayed.applied;
        total.skipped += replayed.skipped;
        if (replayed.applied == 0)
            continue;
        m_categories[i].restore(m_categories[i].title(), records);
        for (const JournalEntry &entry : replayed.appliedEntries)
            journal(i, entry);
    }
    // Only once this run's journal holds them are the old ones removed.
    if (m_journalProblem.isEmpty())
        for (const QString &path : std::as_const(m_leftovers))
            QFile::remove(path);
    m_leftovers.clear();
    return total;
}

void LibrarySession::setLeftoverChangesAside()
{
    for (const QString &path : std::as_const(m_leftovers)) {
        const QFileInfo info(path);
        QFile::rename(path, info.dir().filePath(info.completeBaseName() + QStringLiteral(" (元に戻さなかった変更).journal")));
    }
    m_leftovers.clear();
}

LibrarySession::SaveAll LibrarySession::save(const AskOverwrite &askOverwrite)
{
    // Each file is written on its own: a failure in one leaves the others saved.
    SaveAll all;
    for (int i = 0; i < 3; ++i) {
        const bool hadChanges = m_categories[i].hasUnsavedChanges();
        const SaveReport report = saveCategory(m_categories[i], m_folder, askOverwrite);
        if (!report.message.isEmpty())
            all.messages += report.message;
        if (!report.saved()) {
            all.ok = false;
        } else if (hadChanges) {
            JournalEntry saved;
            saved.operation = JournalEntry::Operation::Saved;
            journal(i, saved);
        }
    }
    if (all.ok) {
        const SaveResult removed = m_journal.remove();
        if (!removed.ok)
            m_journalProblem = removed.error;
    }
    return all;
}

QString LibrarySession::takeJournalProblem()
{
    if (m_journalProblem.isEmpty() || m_journalProblemTold)
        return {};
    m_journalProblemTold = true;
    return QStringLiteral("変更の記録（%1）を書けませんでした（%2）。ことばんが突然終了すると、"
                          "保存していない変更は戻せません。こまめに上書き保存してください。")
        .arg(QFileInfo(m_journal.path()).fileName(), m_journalProblem);
}

void LibrarySession::journal(int category, JournalEntry entry)
{
    entry.category = category;
    const SaveResult appended = m_journal.append(entry);
    if (!appended.ok)
        m_journalProblem = appended.error;
    if (m_observer && entry.operation != JournalEntry::Operation::Saved)
        m_observer(category);
}
