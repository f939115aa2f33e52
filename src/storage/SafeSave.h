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
    QString error;          // why nothing was written
    QString warning;        // written and in place, but not sure to last (the folder's sync failed)
    bool nameTaken = false; // with SaveOptions::replace off: a file is at path, nothing was written

    SaveResult() = default;
    SaveResult(bool ok, const QString &error) : ok(ok), error(error) {}
    static SaveResult savedWithWarning(const QString &warning)
    {
        SaveResult result;
        result.warning = warning;
        return result;
    }
};

struct SaveOptions {
    // Whose permissions the new file gets; empty: the file it replaces (a new file gets
    // the usual ones). A backup takes its data file's, so it is never more readable.
    QString permissionsFrom;
    // A data file that is a symbolic link is written where the link points (the teacher
    // put it there); a backup replaces a link of its name instead of writing through it.
    bool followLink = true;
    // Off: a file that is at path (or appears there during the save) is never replaced.
    bool replace = true;
};

// Platform. Replaces the file with bytes only once they are completely on disk: a
// temporary file beside it (named with TemporaryInfix) is written, flushed, synced and
// closed, then renamed over it, and the folder is synced; every step is checked. A crash,
// a full disk or a failed step leaves the old file as it was. A read-only file is refused
// on every platform, as Windows refuses it. When only the folder's sync fails the file is
// in place: ok, with a warning.
[[nodiscard]] SaveResult writeFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options = {});

// How the temporary files of a save are named: "." + the file's name + this + six letters.
inline constexpr char16_t TemporaryInfix[] = u".kotoban-saving.";

// Whether a file's name is that of a save's temporary file.
[[nodiscard]] bool isTemporaryName(QStringView name);

// The path of a save's temporary file beside path, without its six letters.
[[nodiscard]] QString temporaryStemFor(const QString &path);

// A free name beside path for a writer that must make a file of its own before the bytes
// go through writeFileSafely (the xlsx library): named as a save's temporary file, so that
// removeLeftoverTemporaries takes it away should the program die before it is removed.
[[nodiscard]] QString temporaryPathBeside(const QString &path);

// Why a read-only file is not replaced (the same words on every platform).
[[nodiscard]] QString readOnlyReason();

// What the teacher is told when a save's file is in place but its folder could not be
// synced (a power cut may bring the old file back).
[[nodiscard]] QString folderNotSyncedWarning(const QString &reason);

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

// The file as it is now, read with a cap far above any file of ours.
[[nodiscard]] ReadResult readCurrent(const QString &path);

// The file's current bytes; nothing when it does not exist or cannot be read.
[[nodiscard]] std::optional<QByteArray> currentBytes(const QString &path);

// Whether a file is no longer what we last read from or wrote to it (lastKnown; nothing
// when there was no file): other bytes, a file where there was none, or a file that
// cannot be read now (never overwritten unasked). A file that is gone is no change:
// writing it again loses nothing. The one test for data files and class files alike.
[[nodiscard]] bool changedOnDisk(const ReadResult &now, const std::optional<QByteArray> &lastKnown);

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
