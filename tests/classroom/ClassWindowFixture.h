#pragma once

// For test classes that open the class window over a class file in a folder of their own in
// init() and close it in cleanup(): the test class derives from ClassWindowFixture and reaches
// the window, the dialogs' script and the folder through the members below.

#include "ClassEditing.h"
#include "ClassStore.h"
#include "ClassWindow.h"
#include "NoComposition.h"
#include "ScriptedClassDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A new 3年2組 of 青木 空 (男), 井上 海 (女) and 上田 陸 (男), their texts empty.
inline ClassBook threePupils()
{
    ClassBook book = newClassBook(QStringLiteral("3年2組"));
    (void)addPupil(book, {1, QStringLiteral("青木 空"), QString(), QStringLiteral("男")});
    (void)addPupil(book, {2, QStringLiteral("井上 海"), QString(), QStringLiteral("女")});
    (void)addPupil(book, {3, QStringLiteral("上田 陸"), QString(), QStringLiteral("男")});
    return book;
}

template <class Composition = NoComposition>
class ClassWindowFixture {
protected:
    // A window over the folder, not yet shown, holding no class.
    void makeWindow()
    {
        auto dialogs = std::make_unique<ScriptedClassDialogs>();
        m_dialogs = dialogs.get();
        m_window = std::make_unique<ClassWindow>(m_dir.path(), &m_composition, std::move(dialogs));
    }
    // The window shown over a new class file `name` holding book, its first cell selected.
    void openClass(const QString &name, const ClassBook &book)
    {
        makeWindow();
        QVERIFY(m_window->store().create(path(name), book).ok);
        m_window->classEdited();
        m_window->selectCell(0, 0);
        m_window->show();
    }
    // Closes the window and empties the folder (backups and hidden files too) for the next test.
    void closeWindow()
    {
        m_window.reset();
        for (const QString &name : entries(m_dir.path())) {
            const QFileInfo entry(path(name));
            if (entry.isDir() && !entry.isSymLink())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    template <typename T> T *child(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    void trigger(const char *action) { child<QAction>(action)->trigger(); }

    QTemporaryDir m_dir;
    Composition m_composition;
    ScriptedClassDialogs *m_dialogs = nullptr;
    std::unique_ptr<ClassWindow> m_window;
};
