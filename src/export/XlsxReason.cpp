#include "XlsxReason.h"

#include "Reasons.h"

#include <xlsxwriter.h>

#include <cerrno>

QString xlsxReason(int libraryError, int systemError)
{
    // The system's reason, where a file operation failed underneath.
    const QString because = systemError != 0 ? QStringLiteral("（%1）").arg(teacherReason(systemError)) : QString();
    switch (libraryError) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return teacherReason(ENOMEM);
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("Excel のファイルを作れません") + because;
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("作業用の一時ファイルを使えません") + because;
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("Excel のファイルに書き込めません") + because;
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("Excel の一つの欄に入る 32767 字をこえています");
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
        return QStringLiteral("シートの名前に使えない名前です");
    default:
        break;
    }
    return QStringLiteral("Excel のファイルを組み立てられませんでした（番号 %1）").arg(libraryError) + because;
}
