#include "SafeSave.h"
#include "SafeSaveDetail.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

QString temporaryStemFor(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QString::fromUtf16(TemporaryInfix));
}

QString temporaryPathBeside(const QString &path)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QString stem = temporaryStemFor(path);
    for (;;) {
        QString name = stem;
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
}

bool isTemporaryName(QStringView name)
{
    // "." + a name + TemporaryInfix + six ASCII letters or digits (QSaveFile's own).
    const QStringView infix(TemporaryInfix);
    constexpr qsizetype letters = 6;
    if (name.size() < 2 + infix.size() + letters || !name.startsWith(u'.'))
        return false;
    const auto asciiLetterOrDigit = [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 0x80; };
    const QStringView tail = name.last(letters);
    return name.chopped(letters).endsWith(infix) && std::all_of(tail.begin(), tail.end(), asciiLetterOrDigit);
}

QStringList removeLeftoverTemporaries(const QString &folder)
{
    const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
    QStringList removed;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (info.isSymLink() || !info.isFile() || !isTemporaryName(info.fileName()) || info.lastModified() > old)
            continue;
        if (QFile::remove(info.filePath()))
            removed += info.fileName();
    }
    return removed;
}

ReadResult readCurrent(const QString &path)
{
    // Twice the largest file that is read: a larger one is certainly not ours.
    return readRegularFile(path, 2 * 16 * 1024 * 1024);
}

std::optional<QByteArray> currentBytes(const QString &path)
{
    ReadResult read = readCurrent(path);
    if (read.state != ReadResult::State::Read)
        return std::nullopt;
    return std::move(read.bytes);
}

bool changedOnDisk(const ReadResult &now, const std::optional<QByteArray> &lastKnown)
{
    switch (now.state) {
    case ReadResult::State::Missing: return false;
    case ReadResult::State::Refused: return true;
    case ReadResult::State::Read: return !lastKnown || *lastKnown != now.bytes;
    }
    return true;
}

QString readOnlyReason()
{
    return QStringLiteral("読み取り専用のファイルです。ファイルのプロパティで「読み取り専用」を外してください");
}

QString folderNotSyncedWarning(const QString &reason)
{
    return QStringLiteral("保存しましたが、フォルダーへの記録を確定できませんでした（%1）。"
                          "このまま電源が切れると、前の内容に戻ることがあります。")
        .arg(reason);
}

QString tooLargeReason(qint64 maxBytes)
{
    return QStringLiteral("ファイルが大きすぎます（%1 MB まで）").arg(maxBytes / (1024 * 1024));
}

std::optional<QString> readBounded(QByteArray &bytes, qint64 expectedSize, qint64 maxBytes, const ReadSome &readSome)
{
    // Exactly the size expected (and one byte to see the end): what is read is kept as long
    // as the program runs, and growing would leave half as much again unused.
    bytes = QByteArray(qsizetype(qMin<qint64>(expectedSize, maxBytes) + 1), Qt::Uninitialized);
    qsizetype got = 0;
    while (true) {
        if (got == bytes.size()) {
            if (got > maxBytes)
                return tooLargeReason(maxBytes);
            bytes.resize(qMin<qsizetype>(got * 2 + 4096, qsizetype(maxBytes) + 1));
        }
        QString why;
        const qint64 n = readSome(bytes.data() + got, bytes.size() - got, why);
        if (n < 0)
            return why;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return std::nullopt;
}
