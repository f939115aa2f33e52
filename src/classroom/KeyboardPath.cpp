#include "KeyboardPath.h"

#include "ClassEditor.h"
#include "ClassWindow.h"
#include "ExamplePane.h"
#include "Naming.h"
#include "NotesPane.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// Moves the selection by a step of pupils and of fields, staying inside the class.
void step(ClassWindow *window, int pupils, int fields)
{
    const int pupil = window->selectedPupil();
    const int field = window->selectedField();
    const int count = int(window->classBook().pupils.size());
    if (pupil < 0 || field < 0 || count == 0)
        return;
    window->selectCell(std::clamp(pupil + pupils, 0, count - 1),
                       std::clamp(field + fields, 0, int(window->classBook().fields.size()) - 1));
}

// The keys the window's commands use, taken from the text boxes (which would otherwise move
// their cursor by a word or a line with them); PageUp and PageDown in the editor step pupils.
class WindowKeys : public QObject {
public:
    WindowKeys(ClassWindow *window, QObject *parent) : QObject(parent), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left
            || key->key() == Qt::Key_Right;
        if (event->type() == QEvent::ShortcutOverride)
            return arrow && modifiers == Qt::ControlModifier; // left unaccepted: the shortcut runs
        const bool page = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
        if (!page || modifiers != Qt::NoModifier || watched != m_window->editor()->textEdit())
            return false;
        step(m_window, key->key() == Qt::Key_PageUp ? -1 : 1, 0);
        return true;
    }

private:
    ClassWindow *const m_window;
};

QAction *command(ClassWindow *window, const char *name, const QString &text, const char *keys,
                 const std::function<void()> &run)
{
    QAction *action = namedAction(window, name, text, keys);
    QObject::connect(action, &QAction::triggered, window, run);
    return action;
}

} // namespace

void insertExample(ClassWindow *window, const QString &sentence, bool atEnd)
{
    const int pupil = window->selectedPupil();
    if (!window->store().isOpen() || pupil < 0 || window->selectedField() < 0) {
        window->dialogs().inform(QStringLiteral("例文"), QStringLiteral("表で児童・生徒の欄を選んでから入れてください。"),
                                 Dialogs::Icon::Information);
        return;
    }
    QString text = fillPlaceholders(sentence, callName(window->classBook().pupils[pupil], window->classBook().naming));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QPlainTextEdit *edit = window->editor()->textEdit();
    QTextCursor cursor = edit->textCursor();
    if (atEnd)
        cursor.movePosition(QTextCursor::End);
    // Typed into the editor as the teacher's own keys would be: saved, counted, undone with Ctrl+Z.
    cursor.insertText(text);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

void addKeyboardPath(ClassWindow *window, ExamplePane *pane)
{
    const QString pupils = QStringLiteral("児童・生徒(&P)");
    const QString fields = QStringLiteral("欄(&L)");
    const QString examples = QStringLiteral("例文(&R)");
    window->addCommand(command(window, "actPreviousPupil", QStringLiteral("前の児童・生徒へ"), "Ctrl+Up",
                               [window] { step(window, -1, 0); }),
                       pupils, false);
    window->addCommand(command(window, "actNextPupil", QStringLiteral("次の児童・生徒へ"), "Ctrl+Down",
                               [window] { step(window, 1, 0); }),
                       pupils, false);
    window->addCommand(command(window, "actPreviousField", QStringLiteral("前の欄へ"), "Ctrl+Left",
                               [window] { step(window, 0, -1); }),
                       fields, false);
    window->addCommand(command(window, "actNextField", QStringLiteral("次の欄へ"), "Ctrl+Right",
                               [window] { step(window, 0, 1); }),
                       fields, false);
    auto *shown = new QAction(QStringLiteral("例文の一覧を表示"), window);
    shown->setObjectName(QStringLiteral("actShowExamples"));
    shown->setCheckable(true);
    shown->setChecked(true);
    QObject::connect(shown, &QAction::toggled, pane, &QWidget::setVisible);
    window->addCommand(command(window, "actFindExample", QStringLiteral("例文を探す"), "Ctrl+F",
                               [pane, shown] {
                                   shown->setChecked(true);
                                   pane->focusSearch();
                               }),
                       examples, false);
    window->addCommand(shown, examples, false);

    auto *keys = new WindowKeys(window, window);
    window->editor()->textEdit()->installEventFilter(keys);
    pane->searchBox()->installEventFilter(keys);

    QObject::connect(pane, &ExamplePane::insertRequested, window,
                     [window](const QString &sentence) { insertExample(window, sentence, false); });
    QObject::connect(pane, &ExamplePane::appendRequested, window,
                     [window](const QString &sentence) { insertExample(window, sentence, true); });
    QObject::connect(pane, &ExamplePane::leaveRequested, window,
                     [window] { window->editor()->textEdit()->setFocus(Qt::OtherFocusReason); });
}
