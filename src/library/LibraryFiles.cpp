#include "LibraryFiles.h"

#include "Backup.h"

#include <QFileInfo>

namespace {

QString joined(const QList<int> &lines)
{
    QStringList numbers;
    for (int line : lines)
        numbers += QString::number(line);
    return numbers.join(u'、');
}

QStringList describeLoadProblems(const QString &fileName, const LoadedFile &loaded, int recordsKeptAside)
{
    QStringList problems;
    if (loaded.state == LoadedFile::State::Unreadable)
        problems += QStringLiteral("%1 を読み込めませんでした（%2）。この項目は例文がない状態で始めます。"
                                   "このファイルは上書きしません。")
                        .arg(fileName, loaded.error);
    if (!loaded.badLines.isEmpty())
        problems += QStringLiteral("%1 の %2 行目に、読み取れない文字がありました。「\uFFFD」と表示しています。")
                        .arg(fileName, joined(loaded.badLines));
    if (!loaded.content.fieldCountLines.isEmpty())
        problems += QStringLiteral("%1 の %2 行目は、区切られた欄の数が合いません（題名の行は一つ、例文の行は四つ）。"
                                   "そのあとの例文は、欄がずれて読み込まれています。"
                                   "ファイルは、例文を変えないかぎりそのまま残します。")
                        .arg(fileName, joined(loaded.content.fieldCountLines));
    if (loaded.content.unclosedQuoteLine > 0)
        problems += QStringLiteral("%1 の %2 行目の「\"」が閉じられていないため、そこからファイルの終わりまでを"
                                   "一つの欄として読み込みました。")
                        .arg(fileName)
                        .arg(loaded.content.unclosedQuoteLine);
    if (recordsKeptAside > 0)
        problems += QStringLiteral("%1 の例文のうち、300例をこえた %2 例は表示できません。"
                                   "これらの例文は消さずに、保存するときにそのままファイルに書き戻します。")
                        .arg(fileName)
                        .arg(recordsKeptAside);
    return problems;
}

QByteArray encode(const Category &category)
{
    return encodeDataFile(category.title(), category.origin.title, category.recordsToSave(), category.origin.encoding);
}

// Writes this run's version of the category to a new file beside its data file.
SaveReport writeBeside(Category &category, const DataFolder &folder, const QDateTime &now, const QString &why)
{
    const QString fileName = category.rules().fileName;
    const QString name = keepBothName(folder.dir(), fileName, now);
    SaveOptions options;
    options.permissionsFrom = QFileInfo::exists(folder.dir().filePath(fileName)) ? folder.dir().filePath(fileName)
                                                                                  : QString();
    const SaveResult saved = writeFileSafely(folder.dir().filePath(name), encode(category), options);
    if (!saved.ok)
        return {SaveReport::Outcome::Failed,
                why + QStringLiteral("この項目の今回の内容を %1 に保存しようとしましたが、できませんでした（%2）。").arg(name, saved.error)};
    category.origin.savedChanges = category.changes();
    return {SaveReport::Outcome::WrittenBeside, why + QStringLiteral("この項目の今回の内容は「%1」に保存しました。").arg(name)};
}

} // namespace

DataFolder::DataFolder(const QString &path) : m_dir(path), m_identity(identityOf(path)) {}

bool DataFolder::wasReplaced() const { return identityOf(m_dir.path()) != m_identity; }

QStringList loadCategory(Category &category, const QDir &folder)
{
    const QString fileName = category.rules().fileName;
    const LoadedFile loaded = readDataFile(folder.filePath(fileName), category.rules().fieldsCanBeUnset);
    FileOrigin &origin = category.origin;
    origin.state = loaded.state;
    origin.encoding = loaded.encoding;
    origin.bytes = loaded.bytes;
    origin.startBytes = loaded.bytes;
    origin.title = loaded.content.storedTitle;
    origin.savedChanges = category.changes();
    if (loaded.state == LoadedFile::State::Loaded)
        category.load(loaded.content.title, loaded.content.records);
    return describeLoadProblems(fileName, loaded, int(category.overflow().size()));
}

SaveReport saveCategory(Category &category, const DataFolder &folder, const AskOverwrite &askOverwrite,
                        const QDateTime &now)
{
    const QString fileName = category.rules().fileName;
    const QString path = folder.dir().filePath(fileName);
    FileOrigin &origin = category.origin;
    const bool missingAtStart = origin.state == LoadedFile::State::Missing;
    if (!category.hasUnsavedChanges() && !(missingAtStart && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink()))
        return {}; // whatever happened to the file, this run has nothing to add to it
    if (origin.state == LoadedFile::State::Unreadable)
        return writeBeside(category, folder, now,
                           QStringLiteral("%1 は起動したときに読み込めなかったので、上書きしません。").arg(fileName));
    if (folder.wasReplaced())
        return writeBeside(category, folder, now,
                           QStringLiteral("作業フォルダー（%1）が、起動した後でほかのフォルダーに置き換えられています。"
                                          "%2 は上書きしません。")
                               .arg(QDir::toNativeSeparators(folder.dir().path()), fileName));

    const QByteArray bytes = encode(category);
    const ReadResult onDisk = readCurrent(path);
    const bool readable = onDisk.state == ReadResult::State::Read;
    if (readable && onDisk.bytes == bytes) {
        origin.bytes = bytes;
        origin.state = LoadedFile::State::Loaded;
        origin.savedChanges = category.changes();
        return {};
    }
    const std::optional<QByteArray> lastKnown =
        origin.state == LoadedFile::State::Loaded ? std::optional<QByteArray>(origin.bytes) : std::nullopt;
    if (changedOnDisk(onDisk, lastKnown) && !askOverwrite(fileName))
        return writeBeside(category, folder, now,
                           QStringLiteral("%1 は、起動した後でほかのソフトで変更されていたので、上書きしませんでした。")
                               .arg(fileName));

    QString backupError;
    if (origin.state == LoadedFile::State::Loaded) {
        // The file as it was before the first change of the day: what is on the disk now,
        // or the start-up content when the file is gone.
        const BackupResult backup = backUpBeforeFirstChangeOfDay(path, readable ? onDisk.bytes : origin.startBytes, now.date());
        if (!backup.ok)
            backupError = QStringLiteral("%1 を作れませんでした（%2）。").arg(QFileInfo(backupPathFor(path)).fileName(), backup.error);
    }
    const SaveResult saved = writeFileSafely(path, bytes);
    if (!saved.ok)
        return {SaveReport::Outcome::Failed,
                backupError + QStringLiteral("%1 を保存できませんでした（%2）。").arg(fileName, saved.error)};
    origin.bytes = bytes;
    origin.state = LoadedFile::State::Loaded;
    origin.savedChanges = category.changes();
    const QString warning = saved.warning.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(fileName, saved.warning);
    return {SaveReport::Outcome::Written, backupError + warning};
}
