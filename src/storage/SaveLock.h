#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <optional>

// Two windows saving one file (two Kotoban on one computer, or on two computers sharing a
// folder): between one window's check "does the file still hold what I last read or wrote"
// and its rename, the other must not write. A lock file beside the file is held for that
// span, and only for it.
//
// The lock is Qt's QLockFile, named ".<file name>.kotoban-lock". It is made by exclusive
// creation (O_CREAT|O_EXCL; CREATE_NEW on Windows), which the file server decides for all
// its clients at once, over SMB as over NFS, for Linux and Windows clients alike, and it
// names its holder's process, computer and program. A lock left by a program that was
// killed is taken over: on the same computer as soon as its process is gone; from another
// computer when it is older than StaleLockAge, which is far longer than any save and than
// the clock difference between computers of one school network.

inline constexpr int StaleLockAge = 5 * 60 * 1000;
// How long a save waits for another window's save to end.
inline constexpr int DefaultLockWait = 5000;

[[nodiscard]] QString lockPathFor(const QString &path);

class SaveLock {
public:
    SaveLock(const QString &path, int waitMilliseconds);
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    bool isHeld() const { return m_lock.isLocked(); }
    // Why it is not held, for the teacher: who is saving, or why no lock could be made.
    QString error() const { return m_error; }

private:
    QLockFile m_lock;
    QString m_error;
};

struct CheckedReplace {
    enum class Outcome {
        Written,
        Changed, // another program or window wrote the file since, or it cannot be read now:
                 // nothing written (error: why it cannot be read, when that is the change)
        Failed,  // nothing written: error says why
    };
    Outcome outcome = Outcome::Written;
    QString error;
    QString warning; // written, but the folder could not be synced
};

// Replaces the file at path with bytes unless it changed on disk since this window last
// read or wrote it (changedOnDisk; expected is what it held then, nothing when there was no
// file), holding the save lock from the check to the end of the write. A file that is there
// but cannot be read is never replaced; a file that is gone is written anew.
[[nodiscard]] CheckedReplace replaceIfUnchanged(const QString &path, const std::optional<QByteArray> &expected,
                                                const QByteArray &bytes, int lockWait = DefaultLockWait);
