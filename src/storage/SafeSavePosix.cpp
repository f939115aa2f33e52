#include "PosixCalls.h"
#include "SafeSave.h"
#include "SafeSaveDetail.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

PosixCalls systemCalls;
PosixCalls *currentCalls = &systemCalls;

SaveResult failure(int errorNumber) { return {false, teacherReason(errorNumber)}; }

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

// The permissions a new file gets when there is nothing to copy them from.
mode_t usualMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Where the bytes go: the file itself, or with followLink the file its links lead to.
std::optional<QString> targetOf(const QString &path, bool followLink)
{
    const QFileInfo info(path);
    if (!followLink || !info.isSymLink())
        return info.absoluteFilePath();
    const QString target = info.canonicalFilePath();
    if (target.isEmpty())
        return std::nullopt;
    return target;
}

bool writeAll(PosixCalls &calls, int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t written = calls.write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= size_t(written);
    }
    return true;
}

// Gives the temporary file the permissions (and where allowed the group) of the file it
// replaces, or of the file it belongs to (a backup, a copy beside): that one stays writable
// by its owner, as Windows never copies "read-only" to it, so that it can be replaced later.
// A failure here is passed over on purpose: the temporary file starts readable by its
// owner only, so what fails only keeps it closer, never more open.
void copyPermissions(int fd, const QString &from, const QString &fallback)
{
    struct stat info {};
    const bool known = ::stat(encoded(from.isEmpty() ? fallback : from).constData(), &info) == 0;
    mode_t mode = known ? (info.st_mode & 07777) : usualMode();
    // A file written beside another (a side file, a backup) is the teacher's to open and to
    // replace: its owner may write it, and one taken from a file she cannot read gets the
    // usual permissions instead.
    if (known && !from.isEmpty())
        mode = (mode & S_IRUSR) ? (mode | S_IWUSR) : usualMode();
    if (known && ::fchown(fd, uid_t(-1), info.st_gid) != 0)
        mode &= ~mode_t(070); // another group must not get the original group's rights
    (void)::fchmod(fd, mode);
}

// Renames without replacing: renameat2 where the file system has it; else a hard link
// (fails when the name is taken), else, on file systems without links (FAT on a USB stick),
// a check just before the rename. Returns 0 or the error number.
int renameNoReplace(PosixCalls &calls, const char *from, const char *to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    if (::link(from, to) == 0) {
        ::unlink(from);
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        return errno;
    struct stat info {};
    if (::lstat(to, &info) == 0)
        return EEXIST;
    return calls.rename(from, to) == 0 ? 0 : errno;
}

// A file there that this program may not write: refused as on Windows, rather than
// replaced by a rename the folder allows.
bool isReadOnly(PosixCalls &calls, const QByteArray &target)
{
    struct stat info {};
    return ::lstat(target.constData(), &info) == 0 && S_ISREG(info.st_mode) && calls.access(target.constData(), W_OK) != 0
        && (errno == EACCES || errno == EPERM);
}

// Makes the rename itself last: without this a power cut can bring back the old name.
SaveResult syncFolderWith(PosixCalls &calls, const QString &folder)
{
    const int fd = calls.openFolder(encoded(folder).constData());
    if (fd < 0)
        return failure(errno);
    const int synced = calls.fsync(fd);
    const int error = errno;
    calls.close(fd);
    // Some file systems (network shares among them) cannot sync a folder at all.
    if (synced != 0 && error != EINVAL && error != ENOTSUP)
        return failure(error);
    return {};
}

// Why what a name leads to is not read, or nothing for a regular file.
QString notRegularReason(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("同じ名前のフォルダーがあります");
    return QStringLiteral("ふつうのファイルではありません（名前付きパイプや装置のファイルは読みません）");
}

} // namespace

PosixCalls &posixCalls() { return *currentCalls; }

void setPosixCalls(PosixCalls *calls) { currentCalls = calls ? calls : &systemCalls; }

SaveResult writeFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options)
{
    PosixCalls &calls = posixCalls();
    const std::optional<QString> target = targetOf(path, options.followLink);
    if (!target)
        return failure(ENOENT);
    const QFileInfo targetInfo(*target);
    if (targetInfo.isDir() && !targetInfo.isSymLink())
        return failure(EISDIR);
    const QString folder = targetInfo.absolutePath();
    const QByteArray targetName = encoded(*target);
    if (isReadOnly(calls, targetName))
        return {false, readOnlyReason()};

    QByteArray pattern = encoded(temporaryStemFor(*target) + QStringLiteral("XXXXXX"));
    const int fd = calls.makeTemporary(pattern.data());
    if (fd < 0)
        return failure(errno);
    copyPermissions(fd, options.permissionsFrom, *target);

    auto abandon = [&](int error, bool open) {
        if (open)
            calls.close(fd);
        ::unlink(pattern.constData());
        return failure(error);
    };
    if (!writeAll(calls, fd, bytes))
        return abandon(errno, true);
    if (calls.fsync(fd) != 0)
        return abandon(errno, true);
    // close reports what a network file system could not write back: checked as well.
    if (calls.close(fd) != 0)
        return abandon(errno, false);
    if (!options.replace) {
        if (const int error = renameNoReplace(calls, pattern.constData(), targetName.constData()); error != 0) {
            SaveResult result = abandon(error, false);
            result.nameTaken = error == EEXIST;
            return result;
        }
    } else if (calls.rename(pattern.constData(), targetName.constData()) != 0) {
        return abandon(errno, false);
    }
    // The file is in place: a folder that cannot be synced only makes its lasting uncertain.
    const SaveResult synced = syncFolderWith(calls, folder);
    return synced.ok ? SaveResult() : SaveResult::savedWithWarning(folderNotSyncedWarning(synced.error));
}

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    const QByteArray name = encoded(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return result; // Missing
        result.state = ReadResult::State::Refused;
        result.error = readingReason(errno);
        return result;
    }
    result.state = ReadResult::State::Refused;
    // What the name leads to is looked at before it is opened: a named pipe, a device or a
    // folder is refused without opening it.
    if (::stat(name.constData(), &info) != 0) {
        result.error = errno == ENOENT ? QStringLiteral("リンク先のファイルが見つかりません") : readingReason(errno);
        return result;
    }
    if (const QString why = notRegularReason(info.st_mode); !why.isEmpty()) {
        result.error = why;
        return result;
    }
    if (info.st_size > maxBytes) {
        result.error = tooLargeReason(maxBytes);
        return result;
    }
    const int fd = posixCalls().openForReading(name.constData());
    if (fd < 0) {
        result.error = errno == ENOENT ? QStringLiteral("リンク先のファイルが見つかりません") : readingReason(errno);
        return result;
    }
    auto refuse = [&](const QString &why) {
        ::close(fd);
        result.error = why;
        result.bytes.clear();
        return result;
    };
    // The name may have been given to something else between the look and the opening.
    if (::fstat(fd, &info) != 0)
        return refuse(readingReason(errno));
    if (const QString why = notRegularReason(info.st_mode); !why.isEmpty())
        return refuse(why);
    if (info.st_size > maxBytes)
        return refuse(tooLargeReason(maxBytes));
    const std::optional<QString> failed =
        readBounded(result.bytes, info.st_size, maxBytes, [fd](char *buffer, qint64 count, QString &why) -> qint64 {
            ssize_t n;
            do
                n = ::read(fd, buffer, size_t(count));
            while (n < 0 && errno == EINTR);
            if (n < 0)
                why = readingReason(errno);
            return n;
        });
    if (failed)
        return refuse(*failed);
    ::close(fd);
    result.state = ReadResult::State::Read;
    return result;
}

SaveResult syncToDisk(QFile &file)
{
    if (!file.flush())
        return failure(errno != 0 ? errno : EIO);
    if (::fsync(file.handle()) != 0)
        return failure(errno);
    return {};
}

std::optional<FileIdentity> identityOf(const QString &path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
}

SaveResult syncFolder(const QString &folder) { return syncFolderWith(posixCalls(), folder); }
