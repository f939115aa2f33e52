#include "LibraryFiles.h"

#include "SafeSave.h"

#include <QFileInfo>

namespace {

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

} // namespace

QStringList loadCategory(Category &category, const QDir &folder)
{
    const QString fileName = category.rules().fileName;
    const LoadedFile loaded = readDataFile(folder.filePath(fileName), category.rules().fieldsCanBeUnset);
    FileOrigin &origin = category.origin;
    origin.state = loaded.state;
    origin.encoding = loaded.encoding;
    origin.bytes = loaded.bytes;
    origin.startBytes = loaded.bytes;
    origin.backedUp = loaded.state != LoadedFile::State::Loaded; // nothing to keep
    if (loaded.state == LoadedFile::State::Loaded)
        category.load(loaded.content.title, loaded.content.records);
    return describeLoadProblems(fileName, loaded, int(category.overflow().size()));
}

QString saveCategory(Category &category, const QDir &folder, const AskOverwrite &askOverwrite)
{
    const QString fileName = category.rules().fileName;
    FileOrigin &origin = category.origin;
    if (origin.state == LoadedFile::State::Unreadable) {
        if (category.count() == 0)
            return {};
        // The file is kept as it is, so what was added to this category cannot be saved.
        return QStringLiteral("%1 は起動したときに読み込めなかったので、上書きしません。"
                              "この項目に加えた例文は保存されません。")
            .arg(fileName);
    }
    const QString path = folder.filePath(fileName);
    const QByteArray bytes = encodeLibraryFile(category.title(), category.recordsToSave(), origin.encoding);
    const std::optional<QByteArray> onDisk = currentBytes(path);
    const bool changedByOthers = onDisk ? (origin.state == LoadedFile::State::Missing || *onDisk != origin.bytes)
                                        : origin.state == LoadedFile::State::Loaded && QFileInfo::exists(path);
    if (onDisk && *onDisk == bytes) {
        origin.bytes = bytes;
        origin.state = LoadedFile::State::Loaded;
        return {};
    }
    if (changedByOthers && !askOverwrite(fileName))
        return {};

    QString backupError;
    if (!origin.backedUp && origin.state == LoadedFile::State::Loaded) {
        const QString backupName = QFileInfo(fileName).completeBaseName() + QStringLiteral(".bak");
        const SaveResult backup = writeFileSafely(folder.filePath(backupName), origin.startBytes);
        if (backup.ok)
            origin.backedUp = true;
        else
            backupError = QStringLiteral("%1 を作れませんでした（%2）。").arg(backupName, backup.error);
    }
    const SaveResult saved = writeFileSafely(path, bytes);
    if (!saved.ok)
        return backupError + QStringLiteral("%1 を保存できませんでした（%2）。").arg(fileName, saved.error);
    origin.bytes = bytes;
    origin.state = LoadedFile::State::Loaded;
    return backupError;
}
