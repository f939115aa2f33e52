// Files: a new class, opening one (the last one at start), the save state shown below the
// table, a class changed elsewhere, and closing with nothing lost.

#include "ClassWindow.h"

#include "ClassFile.h"
#include "Naming.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>

namespace {

const QColor FailedColour(176, 0, 0);

QString withSuffix(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + classFileSuffix() : path;
}

} // namespace

void ClassWindow::createFileMenu()
{
    QMenu *menu = menuBar()->addMenu(QStringLiteral("学級(&F)"));
    menu->setObjectName(QStringLiteral("mnuClassFile"));
    m_toolBarActions += addMenuAction(menu, "actNewClass", QStringLiteral("新しい学級"), [this] { newClass(); }, false);
    m_toolBarActions.last()->setShortcut(QKeySequence::New);
    m_toolBarActions += addMenuAction(menu, "actOpenClass", QStringLiteral("学級を開く"), [this] { openClass(); }, false);
    m_toolBarActions.last()->setShortcut(QKeySequence::Open);
    menu->addSeparator();
    addMenuAction(menu, "actImportFile", QStringLiteral("名簿の取り込み（ファイルから）..."),
              [this] { importRosterFromFile(); }, false);
    m_toolBarActions += addMenuAction(menu, "actImportClipboard", QStringLiteral("名簿の取り込み（クリップボードから）"),
                                  [this] { importRosterFromClipboard(); }, false);
    m_toolBarActions.last()->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    // Short on the toolbar, so that every command there fits the window's default width.
    m_toolBarActions.last()->setIconText(QStringLiteral("名簿の取り込み"));
    menu->addSeparator();
    addMenuAction(menu, "actClose", QStringLiteral("閉じる(&X)"), [this] { close(); }, false);
}

QString ClassWindow::suggestedFolder() const
{
    return m_store.isOpen() ? QFileInfo(m_store.path()).absolutePath() : m_workingFolder;
}

void ClassWindow::newClass()
{
    const std::optional<QString> name =
        m_dialogs->askText(QStringLiteral("新しい学級"), QStringLiteral("学級の名前（例: 3年2組 2学期）"), QString());
    if (!name)
        return;
    const ClassBook book = newClassBook(*name);
    if (book.name.isEmpty()) {
        m_dialogs->inform(Title, QStringLiteral("学級の名前を入れてください。"), Dialogs::Icon::Warning);
        return;
    }
    const QString chosen = m_dialogs->saveFileName(QStringLiteral("新しい学級の保存先"),
                                                   QDir(suggestedFolder()).filePath(nameFor(NameFor::File, book.name) + u'.' + classFileSuffix()),
                                                   classFileFilter());
    if (chosen.isEmpty() || !saveBeforeClosing())
        return;
    const QString path = withSuffix(chosen);
    const SaveResult created = m_store.create(path, book);
    if (!created.ok) {
        m_dialogs->inform(Title, created.error, Dialogs::Icon::Warning);
        // Not there to be opened next time: only the view follows (the class stays open
        // with its save failed, when it could be taken up at all).
        showClass();
        return;
    }
    opened(path);
}

void ClassWindow::openClass()
{
    const QString path = m_dialogs->openFileName(QStringLiteral("学級を開く"), suggestedFolder(), classFileFilter());
    if (path.isEmpty() || !saveBeforeClosing())
        return;
    openPath(path);
}

void ClassWindow::openLastClass()
{
    const QString path = lastClassPath(m_workingFolder);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        // Moved, renamed, or on a memory stick that is not plugged in: say where it was.
        m_dialogs->inform(Title,
                          QStringLiteral("前回の学級のファイルが見つかりません。\n%1\n「学級を開く」で選んでください。")
                              .arg(QDir::toNativeSeparators(path)),
                          Dialogs::Icon::Information);
        return;
    }
    openPath(path);
}

void ClassWindow::openPath(const QString &path)
{
    const SaveResult result = m_store.open(path);
    if (!result.ok) {
        m_dialogs->inform(Title, result.error, Dialogs::Icon::Warning);
        return;
    }
    opened(path);
}

void ClassWindow::opened(const QString &path)
{
    rememberLastClass(m_workingFolder, path);
    if (!classBook().pupils.isEmpty())
        selectCell(0, 0);
    m_table->setFocus();
}

void ClassWindow::storeStateChanged(ClassStore::State state)
{
    QString text;
    switch (state) {
    case ClassStore::State::Saved:
        text = m_store.isOpen() ? QStringLiteral("保存済み（%1）").arg(QFileInfo(m_store.path()).fileName())
                                : QStringLiteral("「新しい学級」か「学級を開く」で始めてください。");
        if (!m_store.error().isEmpty())
            text += QStringLiteral("　") + m_store.error();
        break;
    case ClassStore::State::Pending: text = QStringLiteral("保存待ち…"); break;
    case ClassStore::State::Failed: text = QStringLiteral("保存できていません: %1　次の変更でもう一度保存します。").arg(m_store.error()); break;
    case ClassStore::State::Conflict: text = QStringLiteral("保存を止めています: %1").arg(m_store.error()); break;
    }
    m_state->setText(text);
    // A screen reader says the state itself, not only what the line is.
    m_state->setAccessibleName(QStringLiteral("保存の状態: ") + text);
    QPalette palette = m_state->palette();
    const bool bad = !m_store.error().isEmpty(); // a failure, a conflict or a warning
    palette.setColor(QPalette::WindowText, bad ? FailedColour : QColor(Qt::black));
    m_state->setPalette(palette);
    if (state == ClassStore::State::Conflict)
        resolveConflict();
}

void ClassWindow::resolveConflict()
{
    if (m_resolving)
        return;
    m_resolving = true;
    if (m_unattended) {
        (void)m_store.keepBoth();
        m_resolving = false;
        return;
    }
    const int choice = m_dialogs->choose(
        Title,
        m_store.error() + QStringLiteral("\nこの画面の内容をどうしますか？"),
        {QStringLiteral("この画面の内容で上書きする"), QStringLiteral("両方残す（この画面の内容は別のファイルへ）")}, 1, 1);
    if (choice == 0) {
        if (const SaveResult over = m_store.overwriteOther(); !over.ok)
            m_dialogs->inform(Title, over.error, Dialogs::Icon::Warning);
    } else {
        const ClassStore::KeptBoth kept = m_store.keepBoth();
        if (!kept.ok)
            m_dialogs->inform(Title, kept.error, Dialogs::Icon::Warning);
        else
            m_dialogs->inform(Title,
                              QStringLiteral("この画面の内容は「%1」に保存しました。%2")
                                  .arg(QFileInfo(kept.savedAs).fileName(),
                                       kept.error.isEmpty() ? QStringLiteral("ほかで変更された学級を開きなおしました。")
                                                            : kept.error),
                              Dialogs::Icon::Information);
    }
    m_resolving = false;
    showClass();
}

bool ClassWindow::saveBeforeClosing()
{
    if (!m_store.isOpen())
        return true;
    (void)m_store.saveForClosing();
    if (m_store.state() == ClassStore::State::Conflict)
        resolveConflict();
    if (!m_store.hasUnsavedChanges() || m_unattended)
        return true;
    return m_dialogs->ask(Title,
                          QStringLiteral("保存できていない変更があります。\n%1\n保存しないで閉じますか？").arg(m_store.error()),
                          Dialogs::Icon::Warning, false);
}

void ClassWindow::setUnattended()
{
    m_unattended = true;
    if (!m_dialogsBeforeUnattended) {
        m_dialogsBeforeUnattended = std::move(m_dialogs);
        m_dialogs = std::make_unique<UnattendedClassDialogs>();
    }
}

void ClassWindow::closeEvent(QCloseEvent *event)
{
    if (saveBeforeClosing())
        event->accept();
    else
        event->ignore();
}
