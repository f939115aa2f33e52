#include "HomeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

HomeFolder prepareHomeFolder(const QString &starterFolder)
{
    HomeFolder home;
    home.path = qEnvironmentVariable("KOTOBAN_HOME");
    if (home.path.isEmpty())
        home.path = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                        .filePath(QStringLiteral("Kotoban"));
    home.path = QDir::cleanPath(QDir(home.path).absolutePath());
    if (!QDir().mkpath(home.path)) {
        home.problem = QStringLiteral("データを置くフォルダー %1 を作れませんでした。").arg(QDir::toNativeSeparators(home.path));
        return home;
    }

    // The three data files and the starter wording rules, which 点検 reads.
    const QStringList names{QStringLiteral("Kotoban1.txt"), QStringLiteral("Kotoban2.txt"),
                            QStringLiteral("Kotoban3.txt"), QStringLiteral("表記ルール.txt")};
    QStringList notCopied;
    for (const QString &name : names) {
        const QString target = QDir(home.path).filePath(name);
        const QString starter = QDir(starterFolder).filePath(name);
        // A broken link or anything else under that name counts as there: never replaced.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink() || !QFileInfo::exists(starter))
            continue;
        if (!QFile::copy(starter, target)) {
            notCopied += name;
            continue;
        }
        // The installed copy may be read-only; the teacher's copy is for editing.
        QFile(target).setPermissions(QFile(target).permissions() | QFileDevice::WriteOwner);
    }
    if (!notCopied.isEmpty())
        home.problem = QStringLiteral("はじめのファイル %1 を %2 にコピーできませんでした。")
                           .arg(notCopied.join(u'、'), QDir::toNativeSeparators(home.path));
    return home;
}
