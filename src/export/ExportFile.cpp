#include "ExportFile.h"

#include "SafeSave.h"

#include <QDir>
#include <QFileInfo>

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

ExportResult exportFailed(const QString &error)
{
    ExportResult result;
    result.status = ExportStatus::Failed;
    result.error = error;
    return result;
}

std::optional<ExportResult> exportBlocked(const QString &path, bool overwrite)
{
    if (!overwrite && exportTargetExists(path)) {
        ExportResult result;
        result.status = ExportStatus::TargetExists;
        return result;
    }
    if (const QString problem = exportFolderProblem(path); !problem.isEmpty())
        return exportFailed(problem);
    (void)removeLeftoverTemporaries(QFileInfo(path).absolutePath());
    return std::nullopt;
}

ExportResult writeExportFile(const QString &path, const QByteArray &bytes, bool overwrite)
{
    SaveOptions options;
    options.replace = overwrite;
    // A link of that name is replaced, never written through (its target may be anything).
    options.followLink = false;
    const SaveResult saved = writeFileSafely(path, bytes, options);
    if (saved.nameTaken) {
        ExportResult result;
        result.status = ExportStatus::TargetExists;
        return result;
    }
    if (!saved.ok)
        return exportFailed(saved.error);
    ExportResult result;
    result.error = saved.warning;
    return result;
}
