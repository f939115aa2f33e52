#include "FrozenColumnsTable.h"

#include <QHeaderView>
#include <QScrollBar>

FrozenColumnsTable::FrozenColumnsTable(int frozenColumns, QWidget *parent)
    : QTableView(parent), m_frozenColumns(frozenColumns), m_frozen(new QTableView(this))
{
    m_frozen->setObjectName(QStringLiteral("FrozenColumns"));
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setAccessibleName(QStringLiteral("学級の表の番号と氏名"));
    viewport()->stackUnder(m_frozen);
    setHorizontalScrollMode(ScrollPerPixel);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column < m_frozenColumns) {
            m_frozen->setColumnWidth(column, size);
            placeFrozenView();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
    QScrollBar *frozenBar = m_frozen->verticalScrollBar();
    connect(frozenBar, &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozenBar, &QAbstractSlider::setValue);
}

void FrozenColumnsTable::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    m_frozen->setModel(model);
    m_frozen->setSelectionModel(selectionModel());
    connect(model, &QAbstractItemModel::modelReset, this, &FrozenColumnsTable::showFrozenColumnsOnly);
    connect(model, &QAbstractItemModel::columnsInserted, this, &FrozenColumnsTable::showFrozenColumnsOnly);
    showFrozenColumnsOnly();
}

void FrozenColumnsTable::showFrozenColumnsOnly()
{
    m_frozen->setSelectionMode(selectionMode());
    m_frozen->setSelectionBehavior(selectionBehavior());
    m_frozen->setWordWrap(wordWrap());
    for (int column = 0; column < m_frozen->model()->columnCount(); ++column) {
        m_frozen->setColumnHidden(column, column >= m_frozenColumns);
        if (column < m_frozenColumns)
            m_frozen->setColumnWidth(column, columnWidth(column));
    }
    placeFrozenView();
}

int FrozenColumnsTable::frozenWidth() const
{
    int width = 0;
    for (int column = 0; column < m_frozenColumns; ++column)
        width += columnWidth(column);
    return width;
}

void FrozenColumnsTable::placeFrozenView()
{
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
}

void FrozenColumnsTable::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeFrozenView();
}

void FrozenColumnsTable::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozenView();
}

void FrozenColumnsTable::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() < m_frozenColumns) {
        // The frozen columns are always in view: only scroll up or down to the row.
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    // A cell that went under the frozen columns comes out beside them.
    const int hidden = frozenWidth() - visualRect(index).left();
    if (hidden > 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}
