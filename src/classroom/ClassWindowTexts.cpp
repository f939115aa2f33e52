// Texts: written in the editor below the table, brought in from the main window's composition
// (its 〇〇 filled with the pupil's name by the class's naming rule) and sent back to it.

#include "ClassWindow.h"

#include "ClassEditor.h"
#include "ClassTableModel.h"
#include "CompositionAccess.h"
#include "Naming.h"

#include <QActionGroup>
#include <QMenuBar>

void ClassWindow::createCompositionMenu()
{
    QMenu *menu = menuBar()->addMenu(QStringLiteral("所見文(&K)"));
    menu->setObjectName(QStringLiteral("mnuComposition"));
    QAction *insert =
        addMenuAction(menu, "actInsertComposition", QStringLiteral("所見文を入れる"), [this] { insertComposition(); });
    insert->setShortcut(QKeySequence(QStringLiteral("Ctrl+Return")));
    QAction *send = addMenuAction(menu, "actSendToComposition", QStringLiteral("所見文に出す"), [this] { sendToComposition(); });
    send->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Return")));
    m_toolBarActions = QList<QAction *>{insert, send} + m_toolBarActions;
    // The toolbar's list of the same, for a window too narrow to show it.
    menu->addSeparator();
    QMenu *naming = menu->addMenu(QStringLiteral("名前の呼び方"));
    naming->setObjectName(QStringLiteral("mnuNamingRule"));
    auto *group = new QActionGroup(this);
    for (NamingRule rule : namingRules()) {
        QAction *action =
            addMenuAction(naming, "actNamingRule", namingRuleCaption(rule), [this, rule] { setNamingRule(rule); });
        action->setObjectName(QStringLiteral("actNamingRule%1").arg(int(rule)));
        action->setCheckable(true);
        action->setData(int(rule));
        group->addAction(action);
        m_namingActions.append(action);
    }
}

bool ClassWindow::writeText(int pupil, int field, const QString &text)
{
    if (!m_store.apply([&](ClassBook &book) { return setText(book, pupil, field, text); }).ok)
        return false;
    m_model->cellChanged(pupil, field);
    if (pupil == selectedPupil() && field == selectedField() && m_editor->text() != textOf(classBook(), pupil, field))
        showSelection();
    return true;
}

void ClassWindow::editorEdited(const QString &text)
{
    const int pupil = selectedPupil();
    const int field = selectedField();
    if (pupil >= 0 && field >= 0)
        (void)writeText(pupil, field, text);
}

void ClassWindow::insertComposition()
{
    if (!requireCell())
        return;
    const QString composed = m_composition ? m_composition->compositionText() : QString();
    if (composed.trimmed().isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("所見文がありません。ことばんの画面で文章を作ってから入れてください。"),
                          Dialogs::Icon::Information);
        return;
    }
    const int pupil = selectedPupil();
    const int field = selectedField();
    const Pupil &p = classBook().pupils[pupil];
    QString text = fillPlaceholders(composed, callName(p, classBook().naming));
    const QString existing = textOf(classBook(), pupil, field);
    if (!existing.trimmed().isEmpty()) {
        const int choice = m_dialogs->choose(
            Title,
            QStringLiteral("%1の「%2」には文章があります。")
                .arg(addressedName(p, classBook().naming), classBook().fields[field].name),
            {QStringLiteral("置き換える"), QStringLiteral("後ろに付け加える"), QStringLiteral("キャンセル")}, 1, 2);
        if (choice != 0 && choice != 1)
            return;
        if (choice == 1)
            text = existing + text;
    }
    (void)writeText(pupil, field, text);
    selectCell(std::min(pupil + 1, int(classBook().pupils.size()) - 1), field);
}

void ClassWindow::sendToComposition()
{
    if (!requireCell() || !m_composition)
        return;
    const int pupil = selectedPupil();
    const int field = selectedField();
    const QString text = textOf(classBook(), pupil, field);
    const QString where =
        QStringLiteral("%1の「%2」")
            .arg(addressedName(classBook().pupils[pupil], classBook().naming), classBook().fields[field].name);
    if (text.trimmed().isEmpty()) {
        m_dialogs->inform(Title, where + QStringLiteral("には文章がありません。"), Dialogs::Icon::Information);
        return;
    }
    const QString current = m_composition->compositionText();
    if (!current.trimmed().isEmpty() && current != text
        && !m_dialogs->ask(Title, QStringLiteral("所見文には文章があります。%1の文章で置き換えますか？").arg(where),
                           Dialogs::Icon::Question, false))
        return;
    m_composition->setCompositionText(text);
}

void ClassWindow::setNamingRule(NamingRule rule)
{
    if (!m_store.isOpen() || classBook().naming == rule)
        return;
    m_store.apply([rule](ClassBook &book) { book.naming = rule; });
    showClass();
}
