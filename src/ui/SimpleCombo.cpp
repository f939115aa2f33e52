#include "SimpleCombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

SimpleCombo::SimpleCombo(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_list(new QListWidget(this))
{
    m_edit->setObjectName(QStringLiteral("edit"));
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setUniformItemSizes(true);
    // The Tab key stops at the edit field only, as in a combo box: reaching the list by
    // Tab would make its first entry current and pick it unasked. The arrow keys in the
    // edit field move through the entries instead.
    m_list->setFocusPolicy(Qt::ClickFocus);
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, &SimpleCombo::textChanged);
    connect(m_edit, &QLineEdit::inputRejected, this, [this] { Q_EMIT textCut(m_edit->maxLength()); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            pick(row);
    });
    // A click on the entry that is already current picks it again: the teacher clicks a
    // class once more to start over below it. A click that made the entry current has
    // picked it already, through currentRowChanged.
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = m_list->row(item);
        if (row >= 0 && row == m_rowAtPress)
            pick(row);
    });
}

bool SimpleCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress)
        m_rowAtPress = m_list->currentRow();
    if (watched == m_edit && event->type() == QEvent::KeyPress && m_list->count() > 0) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int row = m_list->currentRow() + (key == Qt::Key_Down ? 1 : -1);
            setCurrentIndex(qBound(0, row, m_list->count() - 1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString SimpleCombo::text() const { return m_edit->text(); }

void SimpleCombo::setText(const QString &text)
{
    if (m_edit->text() == text)
        return;
    setTextQuietly(text);
    Q_EMIT textChanged(text);
}

void SimpleCombo::setTextQuietly(const QString &text)
{
    const QSignalBlocker blocker(m_edit);
    m_edit->setText(text);
}

int SimpleCombo::count() const { return m_list->count(); }

QString SimpleCombo::itemText(int index) const
{
    const QListWidgetItem *item = m_list->item(index);
    return item ? item->text() : QString();
}

QStringList SimpleCombo::items() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result.append(m_list->item(i)->text());
    return result;
}

void SimpleCombo::addItems(const QStringList &items)
{
    const QSignalBlocker blocker(m_list);
    m_list->addItems(items);
}

void SimpleCombo::clear()
{
    const QSignalBlocker listBlocker(m_list);
    m_list->clear();
    setTextQuietly(QString());
}

int SimpleCombo::currentIndex() const { return m_list->currentRow(); }

void SimpleCombo::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    setCurrentIndexQuietly(index);
    pick(index);
}

void SimpleCombo::setCurrentIndexQuietly(int index)
{
    const QSignalBlocker blocker(m_list);
    m_list->setCurrentRow(index);
}

// A pick runs its handler once: picked stands for both the click and the text change.
void SimpleCombo::pick(int index)
{
    setTextQuietly(m_list->item(index)->text());
    Q_EMIT picked(index);
}

void SimpleCombo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int editHeight = m_edit->sizeHint().height();
    m_edit->setGeometry(0, 0, width(), editHeight);
    m_list->setGeometry(0, editHeight, width(), height() - editHeight);
}
