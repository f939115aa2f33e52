// The fields: added, renamed, given a limit, moved and removed; every pupil's texts follow.

#include "ClassWindow.h"

#include <QMenuBar>

void ClassWindow::createFieldMenu()
{
    QMenu *menu = menuBar()->addMenu(QStringLiteral("欄(&L)"));
    menu->setObjectName(QStringLiteral("mnuField"));
    addMenuAction(menu, "actAddField", QStringLiteral("欄の追加..."), [this] { addFieldByHand(); });
    addMenuAction(menu, "actRenameField", QStringLiteral("名前の変更..."), [this] { renameSelectedField(); });
    addMenuAction(menu, "actFieldLimit", QStringLiteral("字数の上限..."), [this] { setSelectedFieldLimit(); });
    addMenuAction(menu, "actFieldLeft", QStringLiteral("左へ"), [this] { moveSelectedField(-1); });
    addMenuAction(menu, "actFieldRight", QStringLiteral("右へ"), [this] { moveSelectedField(1); });
    menu->addSeparator();
    addMenuAction(menu, "actRemoveField", QStringLiteral("欄の削除"), [this] { removeSelectedField(); });
}

void ClassWindow::addFieldByHand()
{
    if (!requireClass())
        return;
    const std::optional<QString> name =
        m_dialogs->askText(QStringLiteral("欄の追加"), QStringLiteral("欄の名前（例: 道徳）"), QString());
    if (!name)
        return;
    const std::optional<int> limit = m_dialogs->askNumber(
        QStringLiteral("欄の追加"), QStringLiteral("字数の上限（0 は上限なし）"), 200, 0, MaxFieldLimit);
    if (!limit)
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return addField(book, *name, *limit); });
    applyEdit(edit, std::max(selectedPupil(), 0), edit.index);
}

void ClassWindow::renameSelectedField()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const std::optional<QString> name = m_dialogs->askText(QStringLiteral("欄の名前の変更"), QStringLiteral("新しい名前"),
                                                           classBook().fields[field].name);
    if (name)
        applyEdit(m_store.apply([&](ClassBook &book) { return renameField(book, field, *name); }), selectedPupil(), field);
}

void ClassWindow::setSelectedFieldLimit()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const ClassField &f = classBook().fields[field];
    const std::optional<int> limit = m_dialogs->askNumber(
        QStringLiteral("字数の上限"), QStringLiteral("「%1」の字数の上限（0 は上限なし）").arg(f.name), f.limit, 0, MaxFieldLimit);
    if (limit)
        applyEdit(m_store.apply([&](ClassBook &book) { return setFieldLimit(book, field, *limit); }), selectedPupil(), field);
}

void ClassWindow::moveSelectedField(int step)
{
    if (!requireClass())
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return moveField(book, selectedField(), selectedField() + step); });
    applyEdit(edit, selectedPupil(), edit.index);
}

void ClassWindow::removeSelectedField()
{
    if (!requireClass())
        return;
    const int field = selectedField();
    const QString name = classBook().fields[field].name;
    if (fieldHasText(classBook(), field)
        && !m_dialogs->ask(Title,
                           QStringLiteral("「%1」には書いた文章があります。欄を削除すると、全員の「%1」の文章が消えます。削除しますか？")
                               .arg(name),
                           Dialogs::Icon::Warning, false))
        return;
    const ClassEdit edit = m_store.apply([&](ClassBook &book) { return removeField(book, field); });
    applyEdit(edit, selectedPupil(), edit.index);
}
