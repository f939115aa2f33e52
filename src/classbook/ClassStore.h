#pragma once

#include "ClassBook.h"
#include "ClassEditing.h"
#include "SafeSave.h"
#include "SaveLock.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <type_traits>

// Keeps one class and its file in step. Every change is written within about a second
// (the first change starts a timer; more changes before it fires ride along), atomically
// through writeFileSafely. The file as it was before the first change of the day is kept
// as its backup (backUpBeforeFirstChangeOfDay, as for the data files). A file changed by
// another program or window since it was last read or written, or that cannot be read any
// more (changedOnDisk), is never overwritten silently: the store stops in the Conflict
// state until the owner decides, and a file that cannot be read is never replaced. The
// check and the write are one step under the save lock (replaceIfUnchanged), so that
// another window cannot write in between. A failed write keeps the change and is tried
// again at the next change (or saveNow). Saved with a warning (error() says it) when the
// file is in place but its folder could not be synced.
class ClassStore : public QObject {
    Q_OBJECT
public:
    enum class State {
        Saved,    // the file holds everything (error() may hold a warning)
        Pending,  // a change waits for the timer
        Failed,   // the last write failed: error() says why
        Conflict, // the file changed on disk: resolve with overwriteOther() or keepBoth()
    };

    explicit ClassStore(QObject *parent = nullptr);

    // Reads a class file. On refusal nothing changes here and the file is left alone.
    [[nodiscard]] SaveResult open(const QString &path);
    // Makes a new class file at path (an existing file there is kept as the day's backup first).
    [[nodiscard]] SaveResult create(const QString &path, const ClassBook &book);

    bool isOpen() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString backupPath() const;
    const ClassBook &book() const { return m_book; }
    // The one way to change the class: runs an editing operation on it and, when the
    // operation went through (a ClassEdit that is ok, or any other result), marks the
    // change for the autosave, so no caller can forget to save.
    template <typename Edit>
    decltype(auto) apply(Edit &&edit)
    {
        using Result = std::invoke_result_t<Edit, ClassBook &>;
        if constexpr (std::is_void_v<Result>) {
            edit(m_book);
            changed();
        } else {
            Result result = edit(m_book);
            if (wentThrough(result))
                changed();
            return result;
        }
    }

    State state() const { return m_state; }
    QString error() const { return m_error; }
    bool hasUnsavedChanges() const { return m_dirty; }

    // Writes now if anything is unsaved; the result of that write (or of the last one).
    SaveResult saveNow();
    // Before the window closes: saveNow, and when this window's last write has since been
    // replaced by another program or window, a write of this class again, which goes to
    // Conflict as any write would.
    SaveResult saveForClosing();
    // In Conflict: write this class over the other program's file (never over one that
    // cannot be read: that stays, and so does the Conflict).
    SaveResult overwriteOther();
    // In Conflict: write this class to a new file beside and take up the file as the
    // other program left it.
    struct KeptBoth {
        bool ok = false;
        QString savedAs; // where this window's class went
        QString error;
    };
    [[nodiscard]] KeptBoth keepBoth();

    // Milliseconds from the first change to its write.
    void setDelay(int milliseconds) { m_timer.setInterval(milliseconds); }
    // Milliseconds a write waits for another window's save of the same file to end.
    void setLockWait(int milliseconds) { m_lockWait = milliseconds; }

Q_SIGNALS:
    void stateChanged(ClassStore::State state);
    // The class was replaced (opened, created, reloaded): views reset.
    void bookReplaced();

private:
    static bool wentThrough(const ClassEdit &edit) { return edit.ok; }
    template <typename Other>
    static bool wentThrough(const Other &) { return true; }
    void changed();
    void setState(State state, const QString &error = QString());
    SaveResult write();

    QString m_path;
    ClassBook m_book;
    std::optional<QByteArray> m_lastBytes; // what the file held at our last read or write
    bool m_dirty = false;
    bool m_wroteChanges = false; // this window wrote its own changes since the class was read
    int m_lockWait = DefaultLockWait;
    State m_state = State::Saved;
    QString m_error;
    QTimer m_timer;
};

// The class used last, remembered in the working folder (KotobanLastClass.txt) so that it
// travels with the teacher's files; empty when none is remembered.
[[nodiscard]] QString lastClassPath(const QString &workingFolder);
void rememberLastClass(const QString &workingFolder, const QString &classPath);
