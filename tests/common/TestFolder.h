#pragma once

// A temporary working folder holding data files, for the library and widget tests.

#include "TestFiles.h"

#include <QTemporaryDir>

// A temporary working folder for the window's data files.
class WorkingFolder {
public:
    WorkingFolder() = default;
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const { writeAll(filePath(name), bytes); }
    QByteArray read(const QString &name) const { return readAll(filePath(name)); }
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
