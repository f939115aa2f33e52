#include "LibraryFiles.h"

#include "Dialogs.h"
#include "SafeSave.h"

#include <QDir>
#include <QFileInfo>

QStringList describeLoadProblems(const QString &fileName, const LoadedFile &loaded, int recordsKeptAside)
{
    QStringList problems;
    if (loaded.state == LoadedFile::State::Unreadable)
        problems += QStringLiteral("%1 を読み込めませんでした（%2）。この項目は例文がない状態で始めます。"
                                   "このファイルは上書きしません。")
                        .arg(fileName, loaded.error);
    if (!loaded.badLines.isEmpty()) {
        QStringList lines;
        for (int line : loaded.badLines)
            lines += QString::number(line);
        problems += QStringLiteral("%1 の %2 行目に、読み取れない文字がありました。「\uFFFD」と表示しています。")
                        .arg(fileName, lines.join(u'、'));
    }
    if (recordsKeptAside > 0)
        problems += QStringLiteral("%1 の例文のうち、300例をこえた %2 例は表示できません。"
                                   "これらの例文は消さずに、保存するときにそのままファイルに書き戻します。")
                        .arg(fileName)
                        .arg(recordsKeptAside);
    return problems;
}

QString saveLibraryFile(const QString &fileName, const QByteArray &bytes, FileOrigin &origin, Dialogs &dialogs)
{
    if (origin.state == LoadedFile::State::Unreadable)
        return {};
    const std::optional<QByteArray> onDisk = currentBytes(fileName);
    const bool changedByOthers = onDisk ? (origin.state == LoadedFile::State::Missing || *onDisk != origin.bytes)
                                        : origin.state == LoadedFile::State::Loaded && QFileInfo::exists(fileName);
    if (onDisk && *onDisk == bytes) {
        origin.bytes = bytes;
        origin.state = LoadedFile::State::Loaded;
        return {};
    }
    if (changedByOthers
        && !dialogs.ask(appTitle(),
                        QStringLiteral("%1 は、起動後にほかのソフトで変更されています。上書きしますか？").arg(fileName),
                        Dialogs::Icon::Question, false))
        return {};

    QString backupError;
    if (!origin.backedUp && origin.state == LoadedFile::State::Loaded) {
        const QFileInfo info(fileName);
        const QString backupName = info.dir().filePath(info.completeBaseName() + QStringLiteral(".bak"));
        const SaveResult backup = writeFileSafely(backupName, origin.startBytes);
        if (backup.ok)
            origin.backedUp = true;
        else
            backupError = QStringLiteral("%1 を作れませんでした（%2）。").arg(backupName, backup.error);
    }
    const SaveResult saved = writeFileSafely(fileName, bytes);
    if (!saved.ok)
        return backupError + QStringLiteral("%1 を保存できませんでした（%2）。").arg(fileName, saved.error);
    origin.bytes = bytes;
    origin.state = LoadedFile::State::Loaded;
    return backupError;
}
