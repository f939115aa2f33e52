#include "ClassWindow.h"

#include "AccessibleNames.h"
#include "ChecksAndExports.h"
#include "ClassEditor.h"
#include "ClassTableModel.h"
#include "ExamplePane.h"
#include "FrozenColumnsTable.h"
#include "KeyboardPath.h"
#include "Naming.h"
#include "NotesCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace {
// Fits a 1280 × 800 screen, the common school laptop, with room for a taskbar and the frame.
const QSize DefaultSize(1240, 690);
} // namespace

ClassWindow::ClassWindow(const QString &workingFolder, CompositionAccess *composition,
                         std::unique_ptr<ClassDialogs> dialogs, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_workingFolder(workingFolder), m_composition(composition),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<WidgetClassDialogs>(this)),
      m_model(new ClassTableModel(m_store.book(), this)),
      m_table(new FrozenColumnsTable(2, this)), // 番号 and 氏名 stay in view
      m_editor(new ClassEditor(this)), m_examples(new ExamplePane(this)),
      m_state(new QLabel(this)), m_naming(new QComboBox(this))
{
    setObjectName(QStringLiteral("ClassWindow"));
    resize(screen() ? DefaultSize.boundedTo(screen()->availableSize() - QSize(20, 60)) : DefaultSize);
    createFileMenu();
    createPupilMenu();
    createFieldMenu();
    createCompositionMenu();
    createToolBar();
    createCentralArea();
    setupConnections();
    addChecksAndExports(this);
    addNotes(this);
    m_examples->setLibrary(composition);
    addKeyboardPath(this, m_examples);
    showClass();
}

ClassWindow::~ClassWindow()
{
    // The views read the class held by m_store, which goes before QWidget's destructor
    // hides and deletes the children: take them down while the class is still there.
    m_store.disconnect(this);
    delete takeCentralWidget();
    // Deleted without being closed (the program ending): what was typed still goes to disk.
    (void)m_store.saveNow();
}

QAction *ClassWindow::addMenuAction(QMenu *menu, const char *name, const QString &text, std::function<void()> run,
                                bool needsClass)
{
    auto *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [run = std::move(run)]() { run(); });
    if (needsClass)
        m_needsClass.append(action);
    return action;
}

void ClassWindow::createToolBar()
{
    m_toolBar = addToolBar(Title);
    m_toolBar->setObjectName(QStringLiteral("ClassToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->addActions(m_toolBarActions);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(new QLabel(QStringLiteral(" 呼び方: "), m_toolBar)); // 名前の呼び方 in the menu
    m_naming->setObjectName(QStringLiteral("NamingRule"));
    for (NamingRule rule : namingRules())
        m_naming->addItem(namingRuleCaption(rule), int(rule));
    m_toolBar->addWidget(m_naming);
    m_toolBar->addSeparator();
    // "››" shows the commands the window has no room for; every one of them is in a menu too.
    if (auto *more = m_toolBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("ほかのコマンド"));
        more->setToolTip(QStringLiteral("入りきらないコマンド（どれもメニューにもあります）"));
    }
}

void ClassWindow::createCentralArea()
{
    m_table->setObjectName(QStringLiteral("ClassTable"));
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("ClassSplitter"));
    m_besideEditor = new QSplitter(Qt::Horizontal, splitter);
    m_besideEditor->setObjectName(QStringLiteral("EditorSplitter"));
    m_besideEditor->addWidget(m_editor);
    splitter->addWidget(m_table);
    splitter->addWidget(m_besideEditor);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    // The examples beside the table and the editor, as tall as both.
    auto *columns = new QSplitter(Qt::Horizontal, this);
    columns->setObjectName(QStringLiteral("ClassColumns"));
    columns->addWidget(splitter);
    columns->addWidget(m_examples);
    // A third of the width for the examples, whatever the window's size; when 点検 or the search opens
    // beside them, both give way in that proportion, so the editor keeps room to write in.
    columns->setStretchFactor(0, 2);
    columns->setStretchFactor(1, 1);
    columns->setSizes({width() * 2 / 3, width() / 3});
    setCentralWidget(columns);

    m_state->setObjectName(QStringLiteral("ClassSaveState"));
    // Beside the messages (an export, a copy), which take the room on the left for a few seconds.
    statusBar()->addPermanentWidget(m_state);

    // What a screen reader announces for the window's own controls.
    nameControls({
        {m_table, QStringLiteral("学級の表"), QStringLiteral("児童・生徒ごとの欄と文字数。！は字数オーバー、□は未記入、≒はほかの児童・生徒と同じ文があります。済は完了、改は完了の後で書き直した欄です。")},
        {m_editor->textEdit(), QStringLiteral("所見の文章"), QStringLiteral("表で選んだ欄の文章。ここで書き直せます。")},
        {m_naming, QStringLiteral("名前の呼び方"), QStringLiteral("例文の〇〇に入れる名前の形。")},
    });
}

void ClassWindow::setupConnections()
{
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        const int field = ClassTableModel::fieldOfColumn(current.column());
        if (field >= 0)
            m_lastField = field;
        showSelection();
    });
    // The selection follows inserted, removed and moved rows and columns by itself; the
    // field last chosen is read back from it.
    connect(m_model, &ClassTableModel::structureChanged, this, [this] {
        const int field = ClassTableModel::fieldOfColumn(m_table->currentIndex().column());
        if (m_table->currentIndex().isValid() && field >= 0)
            m_lastField = field;
        showSelection();
    });
    connect(&m_store, &ClassStore::bookReplaced, this, &ClassWindow::classReplaced);
    connect(m_editor, &ClassEditor::edited, this, &ClassWindow::editorEdited);
    connect(&m_store, &ClassStore::stateChanged, this, &ClassWindow::storeStateChanged);
    connect(m_naming, &QComboBox::activated, this,
            [this](int index) { setNamingRule(NamingRule(m_naming->itemData(index).toInt())); });
}

int ClassWindow::selectedPupil() const
{
    const int row = m_table->currentIndex().row();
    return row >= 0 && row < classBook().pupils.size() ? row : -1;
}

int ClassWindow::selectedField() const
{
    if (classBook().fields.isEmpty())
        return -1;
    return std::clamp(m_lastField, 0, int(classBook().fields.size()) - 1);
}

void ClassWindow::selectCell(int pupil, int field)
{
    if (field >= 0 && field < classBook().fields.size())
        m_lastField = field;
    const QModelIndex cell = m_model->index(pupil, ClassTableModel::columnOfField(selectedField()));
    m_table->setCurrentIndex(cell);
    m_table->scrollTo(cell);
    showSelection();
}

void ClassWindow::addCommand(QAction *action, const QString &menuTitle, bool onToolBar)
{
    QMenu *menu = nullptr;
    for (QAction *entry : menuBar()->actions()) {
        if (entry->menu() && entry->text() == menuTitle)
            menu = entry->menu();
    }
    if (!menu)
        menu = menuBar()->addMenu(menuTitle);
    menu->addAction(action);
    if (onToolBar)
        m_toolBar->addAction(action);
}

void ClassWindow::addBesideEditor(QWidget *pane)
{
    m_besideEditor->addWidget(pane);
    m_besideEditor->setStretchFactor(0, 3);
    m_besideEditor->setStretchFactor(m_besideEditor->count() - 1, 2);
}

void ClassWindow::classEdited()
{
    m_model->classChanged();
    showClass();
}

void ClassWindow::classReplaced()
{
    const int pupil = selectedPupil();
    m_model->classReplaced();
    showClass();
    if (!classBook().pupils.isEmpty())
        selectCell(std::clamp(pupil, 0, int(classBook().pupils.size()) - 1), selectedField());
}

QString ClassWindow::stateText() const { return m_state->text(); }

void ClassWindow::showClass()
{
    const bool open = m_store.isOpen();
    setWindowTitle(open ? QStringLiteral("学級の所見 － %1").arg(classBook().name) : Title);
    for (QAction *action : std::as_const(m_needsClass))
        action->setEnabled(open);
    m_naming->setEnabled(open);
    m_naming->setCurrentIndex(m_naming->findData(int(classBook().naming)));
    for (QAction *action : std::as_const(m_namingActions))
        action->setChecked(action->data().toInt() == int(classBook().naming));
    m_table->setColumnWidth(0, m_table->fontMetrics().horizontalAdvance(QStringLiteral("番号00")));
    m_table->setColumnWidth(1, m_table->fontMetrics().horizontalAdvance(QStringLiteral("長谷川 あいうえお")));
    m_table->setColumnWidth(ClassTableModel::NotesCountColumn, m_table->fontMetrics().horizontalAdvance(QStringLiteral("メモ000")));
    for (int field = 0; field + 1 < classBook().fields.size(); ++field)
        m_table->setColumnWidth(ClassTableModel::columnOfField(field),
                                m_table->fontMetrics().horizontalAdvance(QStringLiteral("！250/250 あいうえおかきくけこさしすせそた…")));
    storeStateChanged(m_store.state());
}

void ClassWindow::showSelection()
{
    const int pupil = selectedPupil();
    const int field = selectedField();
    if (pupil < 0 || field < 0) {
        m_editor->showText(QString(), QString(), 0);
        return;
    }
    const Pupil &p = classBook().pupils[pupil];
    const ClassField &f = classBook().fields[field];
    const QString number = p.number > 0 ? QStringLiteral("%1番　").arg(p.number) : QString();
    m_editor->showText(QStringLiteral("%1%2　「%3」").arg(number, addressedName(p, classBook().naming), f.name),
                       textOf(classBook(), pupil, field),
                       f.limit);
}

bool ClassWindow::requireClass()
{
    if (m_store.isOpen())
        return true;
    m_dialogs->inform(Title, QStringLiteral("「新しい学級」か「学級を開く」で学級を用意してください。"), Dialogs::Icon::Information);
    return false;
}

bool ClassWindow::requireCell()
{
    if (!requireClass())
        return false;
    if (selectedPupil() >= 0 && selectedField() >= 0)
        return true;
    m_dialogs->inform(Title, QStringLiteral("表で児童・生徒の欄を選んでください。"), Dialogs::Icon::Information);
    return false;
}

void ClassWindow::applyEdit(const ClassEdit &edit, const std::function<void()> &tellTable, int pupil, int field)
{
    if (!edit.ok) {
        m_dialogs->inform(Title, edit.reason, Dialogs::Icon::Warning);
        return;
    }
    tellTable();
    showClass();
    if (pupil >= 0)
        selectCell(pupil, field);
    else
        showSelection();
}
