#pragma once

// Files as the tests see them: bytes in and out, what a folder holds, a file's identity and
// mode, and the checked-in data files a test starts from.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

#include <sys/stat.h>

// The file's bytes; empty when it is missing or unreadable.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes, failing the test if any of them did not reach the file.
inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The names in a folder, hidden ones (a temporary file left behind) and links to nowhere
// included, sorted.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

#ifndef Q_OS_WIN
// The file's identity on disk: a save that writes nothing keeps it, a rename changes it.
inline ino_t inode(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// The permission bits of the name itself (a link's own, not its target's).
inline mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}
#endif

// A checked-in file: a missing one stops the run rather than passing as empty.
inline QByteArray checkedInFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(path));
    return file.readAll();
}

// A file of this test folder's data/ (KOTOBAN_TEST_DATA), or of the starter library in data/.
inline QByteArray testData(const QString &name) { return checkedInFile(QStringLiteral(KOTOBAN_TEST_DATA "/") + name); }
inline QByteArray starterData(const QString &name) { return checkedInFile(QStringLiteral(KOTOBAN_STARTER_DATA "/") + name); }
