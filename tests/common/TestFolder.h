#pragma once

// A temporary working folder holding data files, for the library and widget tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// The names in a folder, hidden ones included, sorted.
inline QStringList entries(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

// A temporary working folder for the window's data files.
class WorkingFolder {
public:
    WorkingFolder() = default;
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Copies the starter library's three files in.
    void seedStarterLibrary() const
    {
        for (int n = 1; n <= 3; ++n) {
            const QString name = QStringLiteral("Kotoban%1.txt").arg(n);
            QFile::copy(QStringLiteral(KOTOBAN_STARTER_DATA "/") + name, filePath(name));
        }
    }

private:
    QTemporaryDir m_dir;
};
