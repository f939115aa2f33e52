#include "HandIns.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString HandInKey = QStringLiteral("handIn");

QString copyName(const QDateTime &at, int number)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH時mm分 第%1回.")).arg(number) + classFileSuffix();
}

QString handInDate(const QDateTime &at) { return at.toString(QStringLiteral("yyyy年M月d日 H:mm")); }

} // namespace

QString handInFolder(const QString &classPath)
{
    const QFileInfo info(classPath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(" 提出"));
}

QList<HandIn> handInsOf(const QString &classPath)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} \\d{2})時(\\d{2})分 第(\\d{1,6})回\\.")
                                         + QRegularExpression::escape(classFileSuffix()) + u'$');
    QList<HandIn> handIns;
    const QDir folder(handInFolder(classPath));
    for (const QFileInfo &info : folder.entryInfoList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = name.match(info.fileName());
        if (!match.hasMatch())
            continue;
        const QDateTime at =
            QDateTime::fromString(match.captured(1) + u':' + match.captured(2), QStringLiteral("yyyy-MM-dd HH:mm"));
        if (at.isValid())
            handIns.append({info.filePath(), at, match.captured(3).toInt()});
    }
    std::sort(handIns.begin(), handIns.end(), [](const HandIn &a, const HandIn &b) { return a.number < b.number; });
    return handIns;
}

KeptHandIn keepHandIn(const QString &classPath, const ClassBook &book, const QDateTime &at)
{
    const QList<HandIn> earlier = handInsOf(classPath);
    HandIn handIn;
    handIn.number = earlier.isEmpty() ? 1 : earlier.last().number + 1;
    handIn.at = at;
    const QString folder = handInFolder(classPath);
    handIn.path = QDir(folder).filePath(copyName(at, handIn.number));
    if (!QDir().mkpath(folder))
        return {{false, QStringLiteral("控えのフォルダー「%1」を作れません。").arg(QDir::toNativeSeparators(folder))}, handIn};
    const QFileInfo target(handIn.path);
    const SaveResult taken{false, QStringLiteral("控え「%1」がもうあります。").arg(target.fileName())};
    if (target.exists() || target.isSymLink())
        return {taken, handIn};

    QJsonObject root = QJsonDocument::fromJson(classFileBytes(book)).object();
    root.insert(HandInKey, QJsonObject{{QStringLiteral("number"), handIn.number},
                                       {QStringLiteral("at"), at.toString(Qt::ISODate)}});
    SaveOptions options;
    options.replace = false; // not even a file that appeared since the look above
    options.followLink = false;
    const SaveResult saved = writeFileSafely(handIn.path, QJsonDocument(root).toJson(QJsonDocument::Indented), options);
    return {saved.nameTaken ? taken : saved, handIn};
}

ClassFileRead readHandIn(const QString &path)
{
    const std::optional<QByteArray> bytes = currentBytes(path);
    if (!bytes)
        return {false, ClassBook(), QStringLiteral("提出の控え「%1」を読めません。").arg(QFileInfo(path).fileName())};
    // The copy's own mark is not part of the class it holds.
    ClassFileRead read = readClassFile(*bytes);
    read.book.otherKeys.remove(HandInKey);
    return read;
}

QString handInCopyRefusal(const QByteArray &bytes)
{
    if (!bytes.contains("\"handIn\""))
        return {};
    const QJsonObject handIn = QJsonDocument::fromJson(bytes).object().value(HandInKey).toObject();
    if (handIn.isEmpty())
        return {};
    return QStringLiteral("これは提出の控え（第%1回、%2）です。控えは書き換えないよう、学級ファイルとしては開きません。"
                          "「提出」フォルダーの外にある学級ファイルを開いてください。")
        .arg(handIn.value(QStringLiteral("number")).toInt())
        .arg(handInDate(QDateTime::fromString(handIn.value(QStringLiteral("at")).toString(), Qt::ISODate)));
}
