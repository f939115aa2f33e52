#include "NotesCommands.h"

#include "ClassTableModel.h"
#include "ClassWindow.h"
#include "CompositionAccess.h"
#include "DuplicateMarks.h"
#include "ExampleUsage.h"
#include "NotesPane.h"
#include "QuickNotesDialog.h"
#include "SearchPanel.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>

namespace {

const QString MenuTitle = QStringLiteral("メモ(&M)");

// The status bar's line saying who of the class already has the example shown in the main
// window, kept up to date as the class changes.
class ExampleUsageLine : public QLabel {
public:
    explicit ExampleUsageLine(ClassWindow *window)
        : QLabel(window), m_window(window), m_composition(window->composition())
    {
        setObjectName(QStringLiteral("ExampleUsage"));
        setAccessibleName(QStringLiteral("例文を使っている児童・生徒"));
        window->statusBar()->addWidget(this, 1);
        if (m_composition)
            m_composition->setExampleListener([this](const QString &example) { show(example); });
        ClassTableModel *model = window->tableModel();
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { show(m_example); });
        connect(model, &ClassTableModel::structureChanged, this, [this] { show(m_example); });
    }
    // Deleted among the window's children, when the window is no longer a ClassWindow:
    // the composition is reached through the pointer kept here, not through the window.
    ~ExampleUsageLine() override
    {
        if (m_composition)
            m_composition->setExampleListener(nullptr);
    }

    void show(const QString &example)
    {
        m_example = example;
        auto *marks = m_window->tableModel()->findChild<DuplicateMarks *>();
        const ClassBook &book = m_window->classBook();
        const QString line = marks && m_window->store().isOpen()
            ? exampleUsageLine(book, exampleUsage(book, marks->sentences(), example))
            : QString();
        setText(line);
        setToolTip(line);
    }

private:
    ClassWindow *const m_window;
    CompositionAccess *const m_composition;
    QString m_example;
};

QMenu *menuOf(QAction *action)
{
    for (QObject *owner : action->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(owner))
            return menu;
    }
    return nullptr;
}

} // namespace

void addNotes(ClassWindow *window)
{
    auto *pane = new NotesPane(window);
    window->addBesideEditor(pane);
    auto *search = new SearchPanel(window, pane);
    window->addDockWidget(Qt::RightDockWidgetArea, search);
    search->hide();
    new ExampleUsageLine(window);

    // On the toolbar: the quick entry and the search; the pane has buttons for the rest.
    const QList<QAction *> commands = pane->commands();
    QAction *quick = namedAction(window, "actQuickNotes", QStringLiteral("メモをまとめて入れる…"), "Ctrl+Shift+M");
    quick->setIconText(QStringLiteral("メモをまとめて…")); // short enough for the toolbar to show every command
    // Ctrl+F is the example search, the key a teacher presses most.
    QAction *find = namedAction(window, "actSearchClass", QStringLiteral("学級の中を検索"), "Ctrl+Shift+F");
    find->setIconText(QStringLiteral("学級を検索"));
    window->addCommand(quick, MenuTitle);
    QMenu *menu = menuOf(quick);
    menu->insertAction(quick, commands[0]);
    menu->addActions(commands.mid(1));
    menu->addSeparator();
    window->addCommand(find, MenuTitle);
    // Beside 点検 as a tab of its own, not squeezing it.
    if (auto *checks = window->findChild<QDockWidget *>(QStringLiteral("CheckPanel")))
        window->tabifyDockWidget(checks, search);

    QObject::connect(find, &QAction::triggered, search, [window, search] {
        if (window->store().isOpen())
            search->start();
    });
    auto dialog = std::make_shared<QPointer<QuickNotesDialog>>();
    QObject::connect(quick, &QAction::triggered, window, [window, dialog] {
        if (!window->store().isOpen())
            return;
        if (!*dialog)
            *dialog = new QuickNotesDialog(window);
        (*dialog)->show();
        (*dialog)->raise();
        (*dialog)->activateWindow();
    });
}
