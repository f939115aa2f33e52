#pragma once

// Shared by the widget tests: a dialog stand-in that records what the window asked or
// said and answers from a script, and a working folder holding data files.

#include "Dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        bool question;
        QString title;
        QString text;
        Icon icon;
        bool yesIsDefault;
    };

    // Answers to the next questions, in order; when they run out, questions get defaultAnswer.
    QVector<bool> answers;
    bool defaultAnswer = true;
    QVector<Call> calls;

    bool ask(const QString &title, const QString &text, Icon icon, bool yesIsDefault) override
    {
        calls.append({true, title, text, icon, yesIsDefault});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    void inform(const QString &title, const QString &text, Icon icon) override
    {
        calls.append({false, title, text, icon, false});
    }
    QStringList texts() const
    {
        QStringList result;
        for (const Call &call : calls)
            result.append(call.text);
        return result;
    }
};

// The names in a folder, hidden ones included, sorted.
inline QStringList entries(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

// A temporary folder that is the working directory while the object lives.
class WorkingFolder {
public:
    WorkingFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~WorkingFolder() { QDir::setCurrent(m_previous); }
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
    QString m_previous;
    QTemporaryDir m_dir;
};
