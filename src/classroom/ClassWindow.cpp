#include "ClassWindow.h"

#include "ChecksAndExports.h"
#include "ClassEditor.h"
#include "ClassTableModel.h"
#include "ExamplePane.h"
#include "FrozenColumnsTable.h"
#include "KeyboardPath.h"
#include "Naming.h"

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
const QColor FailedColour(176, 0, 0);
// Fits a 1280 × 800 screen, the common school laptop, with room for a taskbar and the frame.
const QSize DefaultSize(1240, 690);
constexpr int ExamplePaneWidth = 430;
}

ClassWindow::ClassWindow(const QString &workingFolder, CompositionAccess *composition,
                         std::unique_ptr<ClassDialogs> dialogs, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_workingFolder(workingFolder), m_composition(composition),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<WidgetClassDialogs>(this)),
      m_model(new ClassTableModel(m_store.book(), this)),
      m_table(new FrozenColumnsTable(ClassTableModel::FixedColumns, this)),
      m_editor(new ClassEditor(this)), m_examples(new ExamplePane(this)), m_state(new QLabel(this)), m_naming(new QComboBox(this))
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
    menu->addSeparator();
    addMenuAction(menu, "actClose", QStringLiteral("閉じる(&X)"), [this] { close(); }, false);
}

void ClassWindow::createPupilMenu()
{
    QMenu *menu = menuBar()->addMenu(QStringLiteral("児童・生徒(&P)"));
    menu->setObjectName(QStringLiteral("mnuPupil"));
    addMenuAction(menu, "actAddPupil", QStringLiteral("追加..."), [this] { addPupilByHand(); });
    addMenuAction(menu, "actEditPupil", QStringLiteral("訂正..."), [this] { editSelectedPupil(); });
    addMenuAction(menu, "actPupilUp", QStringLiteral("一つ上へ"), [this] { moveSelectedPupil(-1); });
    addMenuAction(menu, "actPupilDown", QStringLiteral("一つ下へ"), [this] { moveSelectedPupil(1); });
    menu->addSeparator();
    addMenuAction(menu, "actRemovePupil", QStringLiteral("削除"), [this] { removeSelectedPupil(); });
}

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
        QAction *action = addMenuAction(naming, "actNamingRule", namingRuleCaption(rule), [this, rule] { setNamingRule(rule); });
        action->setObjectName(QStringLiteral("actNamingRule%1").arg(int(rule)));
        action->setCheckable(true);
        action->setData(int(rule));
        group->addAction(action);
        m_namingActions.append(action);
    }
}

void ClassWindow::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("学級の所見"));
    m_toolBar->setObjectName(QStringLiteral("ClassToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->addActions(m_toolBarActions);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(new QLabel(QStringLiteral(" 名前の呼び方: "), m_toolBar));
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
    splitter->addWidget(m_table);
    splitter->addWidget(m_editor);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    // The examples beside the table and the editor, as tall as both.
    auto *columns = new QSplitter(Qt::Horizontal, this);
    columns->setObjectName(QStringLiteral("ClassColumns"));
    columns->addWidget(splitter);
    columns->addWidget(m_examples);
    columns->setStretchFactor(0, 1);
    columns->setSizes({width() - ExamplePaneWidth, ExamplePaneWidth});
    setCentralWidget(columns);

    m_state->setObjectName(QStringLiteral("ClassSaveState"));
    // Beside the messages (an export, a copy), which take the room on the left for a few seconds.
    statusBar()->addPermanentWidget(m_state);

    // What a screen reader announces for the window's own controls.
    const struct {
        QWidget *widget;
        QString name;
        QString description;
    } names[] = {
        {m_table, QStringLiteral("学級の表"), QStringLiteral("児童・生徒ごとの欄と文字数。！は字数オーバー、□は未記入、≒はほかの児童・生徒と同じ文があります。")},
        {m_editor->textEdit(), QStringLiteral("所見の文章"), QStringLiteral("表で選んだ欄の文章。ここで書き直せます。")},
        {m_naming, QStringLiteral("名前の呼び方"), QStringLiteral("例文の〇〇に入れる名前の形。")},
        {m_state, QStringLiteral("保存の状態"), QString()},
    };
    for (const auto &entry : names) {
        entry.widget->setAccessibleName(entry.name);
        entry.widget->setAccessibleDescription(entry.description);
    }
}

void ClassWindow::setupConnections()
{
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        const int field = ClassTableModel::fieldOfColumn(current.column());
        if (field >= 0)
            m_lastField = field;
        showSelection();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showSelection(); });
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

void ClassWindow::classEdited() { showClass(); }

QString ClassWindow::stateText() const { return m_state->text(); }

void ClassWindow::showClass()
{
    const bool open = m_store.isOpen();
    setWindowTitle(open ? QStringLiteral("学級の所見 － %1").arg(classBook().name) : QStringLiteral("学級の所見"));
    for (QAction *action : std::as_const(m_needsClass))
        action->setEnabled(open);
    m_naming->setEnabled(open);
    m_naming->setCurrentIndex(m_naming->findData(int(classBook().naming)));
    for (QAction *action : std::as_const(m_namingActions))
        action->setChecked(action->data().toInt() == int(classBook().naming));
    const int pupil = selectedPupil();
    m_model->classChanged();
    if (open && !classBook().pupils.isEmpty())
        selectCell(std::clamp(pupil, 0, int(classBook().pupils.size()) - 1), selectedField());
    m_table->setColumnWidth(0, m_table->fontMetrics().horizontalAdvance(QStringLiteral("番号00")));
    m_table->setColumnWidth(1, m_table->fontMetrics().horizontalAdvance(QStringLiteral("長谷川 あいうえお")));
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

void ClassWindow::editorEdited(const QString &text)
{
    const int pupil = selectedPupil();
    const int field = selectedField();
    if (pupil < 0 || field < 0)
        return;
    if (m_store.apply([&](ClassBook &book) { return setText(book, pupil, field, text); }).ok)
        m_model->textChanged(pupil, field);
}

void ClassWindow::storeStateChanged(ClassStore::State state)
{
    QString text;
    switch (state) {
    case ClassStore::State::Saved:
        text = m_store.isOpen() ? QStringLiteral("保存済み（%1）").arg(QFileInfo(m_store.path()).fileName())
                                : QStringLiteral("「新しい学級」か「学級を開く」で始めてください。");
        break;
    case ClassStore::State::Pending: text = QStringLiteral("保存待ち…"); break;
    case ClassStore::State::Failed: text = QStringLiteral("保存できていません: %1　次の変更でもう一度保存します。").arg(m_store.error()); break;
    case ClassStore::State::Conflict: text = QStringLiteral("保存を止めています: %1").arg(m_store.error()); break;
    }
    m_state->setText(text);
    QPalette palette = m_state->palette();
    const bool bad = state == ClassStore::State::Failed || state == ClassStore::State::Conflict;
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
        QStringLiteral("学級の所見"),
        m_store.error() + QStringLiteral("\nこの画面の内容をどうしますか？"),
        {QStringLiteral("この画面の内容で上書きする"), QStringLiteral("両方残す（この画面の内容は別のファイルへ）")}, 1, 1);
    if (choice == 0) {
        (void)m_store.overwriteOther();
    } else {
        const ClassStore::KeptBoth kept = m_store.keepBoth();
        if (!kept.ok)
            m_dialogs->inform(QStringLiteral("学級の所見"), kept.error, Dialogs::Icon::Warning);
        else
            m_dialogs->inform(QStringLiteral("学級の所見"),
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
    (void)m_store.saveNow();
    if (m_store.state() == ClassStore::State::Conflict)
        resolveConflict();
    if (!m_store.hasUnsavedChanges() || m_unattended)
        return true;
    return m_dialogs->ask(QStringLiteral("学級の所見"),
                          QStringLiteral("保存できていない変更があります。\n%1\n保存しないで閉じますか？").arg(m_store.error()),
                          Dialogs::Icon::Warning, false);
}

void ClassWindow::closeEvent(QCloseEvent *event)
{
    if (saveBeforeClosing())
        event->accept();
    else
        event->ignore();
}
