#include "SafeSave.h"
#include "SafeSaveDetail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <io.h>
#include <windows.h>

// The Windows side of SafeSave.h. A save: a temporary file beside the original, written and
// flushed to the disk, given the original's attributes (hidden, archive...; the permissions
// themselves are the folder's, inherited as for any new file), then moved over it in one
// step with MOVEFILE_WRITE_THROUGH, which also makes the new name last: there is no folder
// to sync. (ReplaceFileW leaves a file of its own behind under Wine when the original is
// open in another program.) Every step is checked; on any failure the original stays as it
// was and the temporary file is removed.

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

// Why a step failed, in words a teacher can act on.
QString reason(DWORD code)
{
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("ディスクの空きがありません");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("書き込む権限がないか、読み取り専用になっています");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return QStringLiteral("ほかのソフトがこのファイルを開いています。そのソフトで閉じてから、もう一度保存してください");
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return QStringLiteral("フォルダーが見つかりません");
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("書き込み禁止のディスクです");
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NETPATH:
        return QStringLiteral("ディスクやネットワークのフォルダーにつながっていません");
    default:
        break;
    }
    // The system's own text only in Japanese: on a Windows in another language, the number.
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN),
                                        reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    if (message.isEmpty())
        message = QStringLiteral("Windows のエラーです（番号 %1）").arg(code);
    return message;
}

SaveResult failure(const QString &step, DWORD code)
{
    return {false, step + QStringLiteral("：") + reason(code)};
}

// A new file beside target, named as SafeSave.h says, open for writing; fails rather than
// reuse an existing name.
HANDLE createTemporaryBeside(const QString &target, std::wstring &name, DWORD &error)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = nativePath(temporaryPathBeside(target));
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

// Whether another program has the file open without letting it be replaced.
bool isOpenElsewhere(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

bool writeAll(HANDLE file, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const DWORD chunk = DWORD(qMin<qsizetype>(left, 1 << 24));
        DWORD written = 0;
        if (!WriteFile(file, next, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

SaveResult writeFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options)
{
    // A data file that is a link is written where it leads; a backup replaces the link.
    QString targetPath = QFileInfo(path).absoluteFilePath();
    if (options.followLink && QFileInfo(path).isSymLink()) {
        targetPath = QFileInfo(path).canonicalFilePath();
        if (targetPath.isEmpty())
            return {false, QStringLiteral("リンク先のファイルが見つかりません")};
    }
    const std::wstring target = nativePath(targetPath);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return {false, QStringLiteral("同じ名前のフォルダーがあります")};
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return {false, readOnlyReason()};
    // The attributes to give the new file: those of the file named in the options, else the
    // original's.
    DWORD model = attributes;
    if (!options.permissionsFrom.isEmpty())
        model = GetFileAttributesW(nativePath(options.permissionsFrom).c_str());
    const bool copyAttributes = model != INVALID_FILE_ATTRIBUTES;

    std::wstring temporary;
    DWORD error = ERROR_SUCCESS;
    HANDLE file = createTemporaryBeside(targetPath, temporary, error);
    if (file == INVALID_HANDLE_VALUE)
        return failure(QStringLiteral("一時ファイルを作れませんでした"), error);

    auto abandon = [&](const QString &step) {
        const DWORD code = GetLastError();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        DeleteFileW(temporary.c_str());
        return failure(step, code);
    };
    if (!writeAll(file, bytes))
        return abandon(QStringLiteral("書き込めませんでした"));
    if (!FlushFileBuffers(file))
        return abandon(QStringLiteral("ディスクに書き出せませんでした"));
    const HANDLE written = file;
    file = INVALID_HANDLE_VALUE;
    if (!CloseHandle(written))
        return abandon(QStringLiteral("ファイルを閉じられませんでした"));

    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
                           | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (copyAttributes && (model & Kept) && !SetFileAttributesW(temporary.c_str(), model & Kept))
        return abandon(QStringLiteral("ファイルの属性を写せませんでした"));
    const DWORD replace = options.replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (!MoveFileExW(temporary.c_str(), target.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        // Windows says "access denied" when another program holds the file open: find out.
        if (code == ERROR_ACCESS_DENIED && isOpenElsewhere(target))
            SetLastError(ERROR_SHARING_VIOLATION);
        SaveResult result = abandon(QStringLiteral("元のファイルと置き換えられませんでした"));
        result.nameTaken = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS;
        return result;
    }
    return {};
}

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    const std::wstring name = nativePath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return result; // Missing
        result.state = ReadResult::State::Refused;
        result.error = reason(code);
        return result;
    }
    result.state = ReadResult::State::Refused;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.error = QStringLiteral("同じ名前のフォルダーがあります");
        return result;
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        result.error = code == ERROR_FILE_NOT_FOUND ? QStringLiteral("リンク先のファイルが見つかりません") : reason(code);
        return result;
    }
    auto refuse = [&](const QString &why) {
        CloseHandle(file);
        result.error = why;
        result.bytes.clear();
        return result;
    };
    if (GetFileType(file) != FILE_TYPE_DISK)
        return refuse(QStringLiteral("ふつうのファイルではありません"));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return refuse(reason(GetLastError()));
    if (size.QuadPart > maxBytes)
        return refuse(tooLargeReason(maxBytes));
    const std::optional<QString> failed =
        readBounded(result.bytes, size.QuadPart, maxBytes, [file](char *buffer, qint64 count, QString &why) -> qint64 {
            DWORD n = 0;
            if (!ReadFile(file, buffer, DWORD(qMin<qint64>(count, 1 << 24)), &n, nullptr)) {
                why = reason(GetLastError());
                return -1;
            }
            return n;
        });
    if (failed)
        return refuse(*failed);
    CloseHandle(file);
    result.state = ReadResult::State::Read;
    return result;
}

SaveResult syncToDisk(QFile &file)
{
    if (!file.flush())
        return {false, reason(GetLastError())};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
        return {false, reason(GetLastError())};
    return {};
}

std::optional<FileIdentity> identityOf(const QString &path)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens folders as well.
    HANDLE file = CreateFileW(nativePath(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileIdentity{quint64(info.dwVolumeSerialNumber),
                        (quint64(info.nFileIndexHigh) << 32) | quint64(info.nFileIndexLow)};
}

// Windows keeps a folder's names itself once a move with MOVEFILE_WRITE_THROUGH returned.
SaveResult syncFolder(const QString &)
{
    return {};
}
