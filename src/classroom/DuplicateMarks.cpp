#include "DuplicateMarks.h"

#include "ClassTableModel.h"

DuplicateMarks::DuplicateMarks(const ClassBook &book, ClassTableModel *model)
    : QObject(model), m_book(book), m_model(model)
{
    model->setDuplicateMarks([this](int pupil, int field) { return isMarked(pupil, field); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_stale = true; });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                cellsChanged(topLeft.row(), bottomRight.row(), topLeft.column(), bottomRight.column());
            });
}

bool DuplicateMarks::isMarked(int pupil, int field)
{
    rebuildIfStale();
    return m_index.isMarked({pupil, field});
}

const DuplicateSentences &DuplicateMarks::sentences()
{
    rebuildIfStale();
    return m_index;
}

void DuplicateMarks::rebuildIfStale()
{
    if (!m_stale)
        return;
    m_index = DuplicateSentences(m_book);
    m_stale = false;
}

void DuplicateMarks::cellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    if (m_stale)
        return; // read anew at the next question anyway
    QList<CellRef> others;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int field = ClassTableModel::fieldOfColumn(column);
            if (field < 0 || row >= m_book.pupils.size() || field >= m_book.fields.size())
                continue;
            const CellRef cell{row, field};
            for (const CellRef &changed : m_index.update(cell, m_book.pupils[row].texts.value(field))) {
                if (changed != cell)
                    others.append(changed);
            }
        }
    }
    // Showing them again comes back here with their texts unchanged: nothing more to do.
    for (const CellRef &cell : std::as_const(others))
        m_model->textChanged(cell.pupil, cell.field);
}
