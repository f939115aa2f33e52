#include "ExportFile.h"

#include "Reasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <string>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

ExportResult failed(const QString &error)
{
    ExportResult result;
    result.status = ExportStatus::Failed;
    result.error = error;
    return result;
}

#ifndef Q_OS_WIN
QString systemError(int code) { return teacherReason(code); }

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// Renames without replacing: renameat2 where the file system has it; else a hard link
// (fails when the name is taken), else, on file systems without links (FAT on a USB stick),
// a check just before the rename.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        return errno;
    if (QFileInfo::exists(QFile::decodeName(to)) || QFileInfo(QFile::decodeName(to)).isSymLink())
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}
#endif

} // namespace

bool exportTargetExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString exportFolderProblem(const QString &path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("書き出し先のフォルダー「%1」がありません。").arg(QDir::toNativeSeparators(folder.filePath()));
    return {};
}

QString temporaryPathBeside(const QString &path)
{
    const QFileInfo info(path);
    for (;;) {
        const QString candidate = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!exportTargetExists(candidate))
            return candidate;
    }
}

ExportResult placeExportFile(const QString &temporary, const QString &path, bool overwrite)
{
    const QFileInfo target(path);
    // The new file gets what the one it replaces had; a new file what the system gives new files.
    if (overwrite && target.isFile() && !target.isSymLink())
        QFile::setPermissions(temporary, QFile::permissions(path));
#ifdef Q_OS_WIN
    const std::wstring from = QDir::toNativeSeparators(temporary).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(path).toStdWString();
    // The finished file on the disk before its name is.
    const HANDLE file = CreateFileW(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!flushed) {
        const DWORD code = GetLastError();
        QFile::remove(temporary);
        return failed(QStringLiteral("ファイルを書き終えられませんでした（エラー %1）。").arg(code));
    }
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (overwrite ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
        const DWORD code = GetLastError();
        QFile::remove(temporary);
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
            ExportResult result;
            result.status = ExportStatus::TargetExists;
            return result;
        }
        return failed(QStringLiteral("ファイルを置けませんでした（エラー %1）。").arg(code));
    }
    return {};
#else
    if (!syncPath(temporary, O_RDONLY)) {
        const int code = errno;
        QFile::remove(temporary);
        return failed(systemError(code));
    }
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(path);
    const int code = overwrite ? (::rename(from.constData(), to.constData()) == 0 ? 0 : errno)
                               : renameNoReplace(from, to);
    if (code != 0) {
        QFile::remove(temporary);
        if (code == EEXIST) {
            ExportResult result;
            result.status = ExportStatus::TargetExists;
            return result;
        }
        return failed(systemError(code));
    }
    // The rename itself reaches the disk with the folder.
    syncPath(target.absolutePath(), O_RDONLY | O_DIRECTORY);
    return {};
#endif
}

std::optional<ExportResult> exportBlocked(const QString &path, bool overwrite)
{
    ExportResult result;
    if (!overwrite && exportTargetExists(path)) {
        result.status = ExportStatus::TargetExists;
        return result;
    }
    if (const QString problem = exportFolderProblem(path); !problem.isEmpty()) {
        result.status = ExportStatus::Failed;
        result.error = problem;
        return result;
    }
    return std::nullopt;
}
