#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QFile;

// Writing and reading the teacher's files. Each platform has its own implementation of
// the functions marked "platform" (SafeSavePosix.cpp on Linux); their errors come back
// as reasons a teacher can act on ("ディスクがいっぱいです"), in Japanese.

struct SaveResult {
    bool ok = true;
    QString error;
};

struct SaveOptions {
    // Whose permissions the new file gets; empty: the file it replaces (a new file gets
    // the usual ones). A backup takes its data file's, so it is never more readable.
    QString permissionsFrom;
    // A data file that is a symbolic link is written where the link points (the teacher
    // put it there); a backup replaces a link of its name instead of writing through it.
    bool followLink = true;
};

// Platform. Replaces the file with bytes only once they are completely on disk: a
// temporary file beside it (named with TemporaryInfix) is written, flushed, synced and
// closed, then renamed over it, and the folder is synced; every step is checked. A crash,
// a full disk or a failed step leaves the old file as it was.
[[nodiscard]] SaveResult writeFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options = {});

// How the temporary files of a save are named: "." + the file's name + this + six letters.
inline constexpr char16_t TemporaryInfix[] = u".kotoban-saving.";

// Removes, from folder, temporary files that a save left behind when the program was
// killed or the power failed, if they are older than a minute (a save of another window
// on the same folder may be under way). Returns the names removed.
[[nodiscard]] QStringList removeLeftoverTemporaries(const QString &folder);

struct ReadResult {
    enum class State { Read, Missing, Refused };
    State state = State::Missing;
    QByteArray bytes;
    QString error; // why the file was refused
};

// Platform. Reads a regular file of at most maxBytes. A named pipe, a device or a folder
// is refused without waiting on it, a larger file too; a name that is not there at all
// is Missing (a link to nowhere is Refused: something is there).
[[nodiscard]] ReadResult readRegularFile(const QString &path, qint64 maxBytes);

// The file's current bytes; nothing when it does not exist or cannot be read.
[[nodiscard]] std::optional<QByteArray> currentBytes(const QString &path);

// Platform. Flushes an open file and makes the system put it on the disk.
[[nodiscard]] SaveResult syncToDisk(QFile &file);

// Platform. What a path names on disk (device and inode on Linux): a folder replaced by
// another of the same name has another identity.
struct FileIdentity {
    quint64 device = 0;
    quint64 node = 0;
    bool operator==(const FileIdentity &other) const { return device == other.device && node == other.node; }
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }
};
[[nodiscard]] std::optional<FileIdentity> identityOf(const QString &path);

// Platform. Makes the names in a folder last (after a file was created, renamed or
// removed); a file system that cannot sync a folder is not an error.
[[nodiscard]] SaveResult syncFolder(const QString &folder);
