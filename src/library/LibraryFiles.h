#pragma once

#include "Category.h"
#include "SafeSave.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>

#include <functional>
#include <optional>

// Loading and saving the three data files so that nothing the teacher had is lost. The
// teacher's answers come through a callback; nothing here shows a dialog.

// Asked before replacing a file that another program changed since it was read; true
// to overwrite it.
using AskOverwrite = std::function<bool(const QString &fileName)>;

// The working folder, by its path, and what that path named at start-up: a folder put in
// its place while the program runs is noticed before a save goes into it.
class DataFolder {
public:
    explicit DataFolder(const QString &path);
    const QDir &dir() const { return m_dir; }
    // The path names another folder than at start-up, or none.
    bool wasReplaced() const;

private:
    QDir m_dir;
    std::optional<FileIdentity> m_identity;
};

// Reads the category's data file from folder. Returns what the teacher is told about
// it: nothing for a well-formed file, otherwise one paragraph per problem.
[[nodiscard]] QStringList loadCategory(Category &category, const QDir &folder);

struct SaveReport {
    enum class Outcome { NothingWritten, Written, WrittenBeside, Failed };
    Outcome outcome = Outcome::NothingWritten;
    QString message; // where this run's version went, or why it was not saved; a failed backup

    bool saved() const { return outcome != Outcome::Failed; }
};

// Writes the category's data file, only when the teacher changed the category since it
// was read or last saved (a missing file is still created with its title line). Every
// record the teacher did not touch goes back as the bytes it was read from. This run's
// version goes to a new file beside the data file, named in the message, when the data
// file could not be read at start-up, when another program changed it and the teacher
// does not want it overwritten, or when the working folder was replaced. Before the first
// change of the day the file is kept as a .bak; the old file stays whole if writing fails.
[[nodiscard]] SaveReport saveCategory(Category &category, const DataFolder &folder,
                                      const AskOverwrite &askOverwrite, const QDateTime &now = QDateTime::currentDateTime());
