#include "ExamplePane.h"

#include "AccessibleNames.h"
#include "CompositionAccess.h"
#include "ExampleDelegate.h"
#include "ExampleListModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace {

const QString AllClasses = QStringLiteral("（すべて）");

QComboBox *combo(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(4);
    return box;
}

} // namespace

ExamplePane::ExamplePane(QWidget *parent)
    : QWidget(parent), m_model(new ExampleListModel(this)), m_category(combo("ExampleCategory", this)),
      m_search(new QLineEdit(this)), m_list(new QListView(this)), m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("ExamplePane"));
    for (int level = 0; level < 3; ++level)
        m_levels[level] = combo(QStringLiteral("ExampleClass%1").arg(level + 1).toLatin1().constData(), this);
    createControls();
    fillCategories();
}

void ExamplePane::createControls()
{
    m_search->setObjectName(QStringLiteral("ExampleSearch"));
    m_search->setPlaceholderText(QStringLiteral("例文の検索（Ctrl+F）　空白で区切ると、すべてを含む例文"));
    m_search->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("ExampleList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new ExampleDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(false);
    // Only the rows in sight are measured before the list shows; the rest follow in batches.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(40);
    m_count->setObjectName(QStringLiteral("ExampleCount"));
    m_count->setWordWrap(true);

    auto *title = new QLabel(QStringLiteral("<b>例文</b>"), this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    top->addWidget(title);
    top->addWidget(m_category, 1);
    layout->addLayout(top);
    auto *levels = new QHBoxLayout;
    for (QComboBox *level : m_levels)
        levels->addWidget(level, 1);
    layout->addLayout(levels);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);

    nameControls({
        {m_category, QStringLiteral("例文の種類"), QStringLiteral("三つの例文集のどれから探すか。")},
        {m_levels[0], QStringLiteral("分類1"), QStringLiteral("一段目の分類でしぼります。")},
        {m_levels[1], QStringLiteral("分類2"), QStringLiteral("二段目の分類でしぼります。")},
        {m_levels[2], QStringLiteral("分類3"), QStringLiteral("三段目の分類でしぼります。")},
        {m_search, QStringLiteral("例文の検索"),
         QStringLiteral("文や分類の一部を入れると、それを含む例文だけが並びます。空白で区切った言葉はすべて含むもの。↓で一覧へ。")},
        {m_list, QStringLiteral("例文の一覧"),
         QStringLiteral("Enter で文章のカーソルの位置に、Ctrl+Enter で文章の後ろに入れます。〇〇は名前になります。Esc で文章へ。")},
        {m_count, QStringLiteral("見つかった例文の数"), QString()},
    });

    m_search->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &ExamplePane::queryChanged);
    connect(m_category, &QComboBox::currentIndexChanged, this, [this] {
        fillLevels(0, false);
        queryChanged();
    });
    for (int level = 0; level < 3; ++level)
        connect(m_levels[level], &QComboBox::currentIndexChanged, this, [this, level] {
            fillLevels(level + 1, false);
            queryChanged();
        });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex &index) { use(index.row(), false); });
}

void ExamplePane::setLibrary(CompositionAccess *library)
{
    if (m_library)
        disconnect(m_library, nullptr, this, nullptr);
    m_library = library;
    if (m_library)
        connect(m_library, &CompositionAccess::examplesChanged, this, &ExamplePane::libraryChanged);
    Categories categories{};
    for (int c = 0; c < 3; ++c)
        categories[c] = m_library ? m_library->exampleCategory(c) : nullptr;
    m_model->setCategories(categories);
    fillCategories();
    queryChanged();
}

void ExamplePane::fillCategories()
{
    const QSignalBlocker blocker(m_category);
    const int kept = m_category->currentIndex();
    m_category->clear();
    m_category->addItem(QStringLiteral("すべての例文"));
    for (const Category *category : m_model->categories())
        if (category)
            m_category->addItem(category->title());
    m_category->setCurrentIndex(qBound(0, kept, m_category->count() - 1));
    fillLevels(0, true);
}

void ExamplePane::fillLevels(int from, bool keep)
{
    for (int level = from; level < 3; ++level) {
        QComboBox *box = m_levels[level];
        const QVariant kept = box->currentData();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItem(AllClasses);
        ExampleQuery above;
        above.category = m_category->currentIndex() - 1;
        above.classes = chosenClasses().mid(0, level);
        const bool open = above.classes.size() == level;
        if (open)
            for (const QString &choice : classChoices(m_model->categories(), above))
                box->addItem(choice.isEmpty() ? QStringLiteral("（空欄）") : choice, choice);
        box->setEnabled(open && box->count() > 1);
        box->setCurrentIndex(keep && kept.isValid() ? qMax(0, box->findData(kept)) : 0);
    }
}

QStringList ExamplePane::chosenClasses() const
{
    QStringList classes;
    for (QComboBox *level : m_levels) {
        if (!level->isEnabled() || level->currentIndex() <= 0)
            break;
        classes.append(level->currentData().toString());
    }
    return classes;
}

void ExamplePane::queryChanged()
{
    ExampleQuery query;
    query.category = m_category->currentIndex() - 1;
    query.classes = chosenClasses();
    query.words = m_search->text();
    m_model->setQuery(query);
    // A new list stands on its first example, the one Enter takes from the search box.
    if (m_model->rowCount() > 0 && !m_list->currentIndex().isValid())
        m_list->setCurrentIndex(m_model->index(0));
    updateCount();
}

void ExamplePane::libraryChanged()
{
    const int row = m_list->currentIndex().row();
    const FoundExample current = m_model->found(row);
    fillCategories();
    ExampleQuery query = m_model->query();
    query.classes = chosenClasses();
    m_model->setQuery(query, true);
    // The same example where it is still listed, else the row in its place.
    if (m_model->rowCount() > 0) {
        const int again = m_model->rowOf(current);
        m_list->setCurrentIndex(m_model->index(again >= 0 ? again : qBound(0, row, m_model->rowCount() - 1)));
    }
    updateCount();
}

void ExamplePane::updateCount()
{
    m_count->setText(QStringLiteral("%1件　Enter: カーソルの位置へ　Ctrl+Enter: 文章の後ろへ　Esc: 文章へ")
                         .arg(m_model->rowCount()));
}

void ExamplePane::focusSearch()
{
    show();
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

int ExamplePane::rowToUse() const
{
    const int row = m_list->currentIndex().row();
    return row >= 0 ? row : (m_model->rowCount() > 0 ? 0 : -1);
}

void ExamplePane::use(int row, bool append)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QString sentence = m_model->sentence(row);
    if (append)
        Q_EMIT appendRequested(sentence);
    else
        Q_EMIT insertRequested(sentence);
}

void ExamplePane::enterList()
{
    if (m_model->rowCount() == 0)
        return;
    if (!m_list->currentIndex().isValid())
        m_list->setCurrentIndex(m_model->index(0));
    m_list->setFocus(Qt::OtherFocusReason);
}

bool ExamplePane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool plain = modifiers == Qt::NoModifier;
    const bool fromSearch = watched == m_search;
    const bool upOut = !fromSearch && key->key() == Qt::Key_Up && plain && m_list->currentIndex().row() <= 0;
    const bool ours = (enter && (plain || modifiers == Qt::ControlModifier)) || (key->key() == Qt::Key_Escape && plain)
        || (fromSearch && key->key() == Qt::Key_Down && plain) || upOut;
    if (!ours)
        return false;
    // Ctrl+Enter is a shortcut of the window too: here it belongs to the pane.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (key->key() == Qt::Key_Escape)
        Q_EMIT leaveRequested();
    else if (key->key() == Qt::Key_Down)
        enterList();
    else if (upOut)
        m_search->setFocus(Qt::OtherFocusReason);
    else
        use(rowToUse(), modifiers == Qt::ControlModifier);
    return true;
}
