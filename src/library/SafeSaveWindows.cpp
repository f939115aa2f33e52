#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

// The Windows side of the safe save: a temporary file beside the original, written and
// flushed to the disk, given the original's attributes (hidden, archive...), then moved over
// it in one step with MOVEFILE_WRITE_THROUGH. (ReplaceFileW leaves a file of its own behind
// under Wine when the original is open in another program.) Every step is checked; on any
// failure the original stays as it was and the temporary file is removed.

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
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    if (message.isEmpty())
        message = QStringLiteral("Windows のエラー %1").arg(code);
    return message;
}

SaveResult failure(const QString &step, DWORD code)
{
    return {false, step + QStringLiteral("：") + reason(code)};
}

// A new file beside target, open for writing; fails rather than reuse an existing name.
HANDLE createTemporaryBeside(const std::wstring &target, std::wstring &name, DWORD &error)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = target + L"." + std::to_wstring(QRandomGenerator::global()->generate()) + L".tmp";
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

// A symbolic link or junction; other reparse points (files of a synchronised cloud folder,
// Documents on OneDrive) are ordinary files to save over.
bool isLink(const std::wstring &path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT;
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

SaveResult writeFileSafely(const QString &path, const QByteArray &bytes)
{
    const std::wstring target = nativePath(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {false, QStringLiteral("同じ名前のフォルダーがあります")};
    if (exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && isLink(target))
        return {false, QStringLiteral("リンクになっているファイルには保存しません")};
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return {false, QStringLiteral("読み取り専用のファイルです。ファイルのプロパティで「読み取り専用」を外してください")};

    std::wstring temporary;
    DWORD error = ERROR_SUCCESS;
    HANDLE file = createTemporaryBeside(target, temporary, error);
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
    if (exists && (attributes & Kept) && !SetFileAttributesW(temporary.c_str(), attributes & Kept))
        return abandon(QStringLiteral("ファイルの属性を写せませんでした"));
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        // Windows says "access denied" when another program holds the file open: find out.
        if (GetLastError() == ERROR_ACCESS_DENIED && isOpenElsewhere(target))
            SetLastError(ERROR_SHARING_VIOLATION);
        return abandon(QStringLiteral("元のファイルと置き換えられませんでした"));
    }
    return {};
}

std::optional<QByteArray> currentBytes(const QString &path)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}
