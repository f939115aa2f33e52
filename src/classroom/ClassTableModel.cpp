#include "ClassTableModel.h"

#include "ClassEditing.h"
#include "DoneSigns.h"

#include <QBrush>
#include <QColor>

namespace {

const QColor OverLimitColour(255, 208, 208);
const QColor EmptyColour(255, 242, 179);
const QColor DuplicateColour(214, 232, 255);
constexpr int PreviewLength = 14;

QString preview(const QString &text)
{
    QString start = text.left(PreviewLength + 1);
    start.replace(u'\n', u' ');
    if (start.size() > PreviewLength)
        start = start.left(PreviewLength) + QStringLiteral("…");
    return start;
}

} // namespace

ClassTableModel::ClassTableModel(const ClassBook &book, QObject *parent)
    : QAbstractTableModel(parent), m_book(book), m_shown(book)
{
}

int ClassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.pupils.size());
}

int ClassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FixedColumns + int(m_shown.fields.size());
}

ClassTableModel::CellState ClassTableModel::stateOf(const CellMarks &marks)
{
    if (marks.empty)
        return CellState::Empty;
    return marks.overLimit ? CellState::OverLimit : CellState::Written;
}

QString ClassTableModel::countText(int length, int limit)
{
    return limit > 0 ? QStringLiteral("%1/%2").arg(length).arg(limit) : QStringLiteral("%1字").arg(length);
}

QVariant ClassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.pupils.size())
        return {};
    const Pupil &pupil = m_shown.pupils[index.row()];
    const int field = fieldOfColumn(index.column());
    if (index.column() == NotesCountColumn)
        return notesData(pupil, role);
    if (field < 0) {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        if (index.column() == 0)
            return pupil.number == 0 ? QString() : QString::number(pupil.number);
        return role == Qt::ToolTipRole && !pupil.kana.isEmpty() ? pupil.kana : pupil.name;
    }
    if (field >= m_shown.fields.size())
        return {};
    const QString text = pupil.texts.value(field);
    const int limit = m_shown.fields[field].limit;
    const CellMarks marks = cellMarks(text, limit, m_isDuplicate && m_isDuplicate(index.row(), field));
    const CellState state = stateOf(marks);
    const bool duplicate = marks.duplicate;
    const QString sharedSign = duplicate ? QStringLiteral("≒") : QString();
    const DoneState done = doneState(m_shown, index.row(), field);
    switch (role) {
    case Qt::DisplayRole: {
        const QString count = countText(marks.length, limit);
        switch (state) {
        case CellState::Empty: return doneSign(done) + QStringLiteral("□ 未記入");
        case CellState::OverLimit: return QStringLiteral("%1！%2%3 %4").arg(doneSign(done), sharedSign, count, preview(text));
        case CellState::Written: break;
        }
        return QStringLiteral("%1%2%3 %4").arg(doneSign(done), sharedSign, count, preview(text));
    }
    case Qt::ToolTipRole:
        if (text.isEmpty())
            return QStringLiteral("未記入") + doneTip(done);
        return (duplicate ? text + QStringLiteral("\n\n≒ 同じ文がほかの児童・生徒の欄にもあります。") : text) + doneTip(done);
    case Qt::BackgroundRole:
        if (state == CellState::OverLimit)
            return QBrush(OverLimitColour);
        if (state == CellState::Empty)
            return QBrush(EmptyColour);
        if (duplicate)
            return QBrush(DuplicateColour);
        return {};
    case DuplicateRole: return duplicate;
    case StateRole: return int(state);
    case TextRole: return text;
    default: return {};
    }
}

QVariant ClassTableModel::notesData(const Pupil &pupil, int role)
{
    const qsizetype count = pupil.notes.size();
    switch (role) {
    case Qt::DisplayRole: return count == 0 ? QStringLiteral("□ 0") : QString::number(count);
    case Qt::ToolTipRole:
        return count == 0 ? QStringLiteral("メモはまだありません。") : QStringLiteral("メモが %1 件あります。").arg(count);
    case Qt::BackgroundRole: return count == 0 ? QVariant(QBrush(EmptyColour)) : QVariant();
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return QStringLiteral("番号");
    if (section == 1)
        return QStringLiteral("氏名");
    if (section == NotesCountColumn)
        return QStringLiteral("メモ");
    const int field = fieldOfColumn(section);
    if (field >= m_shown.fields.size())
        return {};
    const ClassField &f = m_shown.fields[field];
    return f.limit > 0 ? QStringLiteral("%1（%2字）").arg(f.name).arg(f.limit) : f.name;
}

void ClassTableModel::setDuplicateMarks(std::function<bool(int pupil, int field)> isDuplicate)
{
    m_isDuplicate = std::move(isDuplicate);
}

void ClassTableModel::cellChanged(int pupil, int field)
{
    m_shown = m_book;
    const QModelIndex cell = index(pupil, columnOfField(field));
    Q_EMIT dataChanged(cell, cell);
}

void ClassTableModel::notesChanged(int pupil)
{
    m_shown = m_book;
    const QModelIndex cell = index(pupil, NotesCountColumn);
    Q_EMIT dataChanged(cell, cell);
}

void ClassTableModel::rowsChanged(int first, int last)
{
    if (first <= last && columnCount() > 0)
        Q_EMIT dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void ClassTableModel::pupilChanged(int pupil)
{
    m_shown = m_book;
    rowsChanged(pupil, pupil);
}

void ClassTableModel::pupilInserted(int pupil)
{
    beginInsertRows({}, pupil, pupil);
    m_shown = m_book;
    endInsertRows();
    Q_EMIT structureChanged();
}

void ClassTableModel::pupilRemoved(int pupil)
{
    beginRemoveRows({}, pupil, pupil);
    m_shown = m_book;
    endRemoveRows();
    Q_EMIT structureChanged();
}

void ClassTableModel::pupilMoved(int from, int to)
{
    if (from != to) {
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
        m_shown = m_book;
        endMoveRows();
        Q_EMIT structureChanged();
    }
    m_shown = m_book;
    // A move renumbers: every row between shows its number anew.
    rowsChanged(std::min(from, to), std::max(from, to));
}

void ClassTableModel::fieldChanged(int field)
{
    m_shown = m_book;
    const int column = columnOfField(field);
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
}

void ClassTableModel::fieldInserted(int field)
{
    beginInsertColumns({}, columnOfField(field), columnOfField(field));
    m_shown = m_book;
    endInsertColumns();
    Q_EMIT structureChanged();
}

void ClassTableModel::fieldRemoved(int field)
{
    beginRemoveColumns({}, columnOfField(field), columnOfField(field));
    m_shown = m_book;
    endRemoveColumns();
    Q_EMIT structureChanged();
}

void ClassTableModel::fieldMoved(int from, int to)
{
    if (from == to)
        return;
    const int source = columnOfField(from);
    const int destination = columnOfField(to);
    beginMoveColumns({}, source, source, {}, destination > source ? destination + 1 : destination);
    m_shown = m_book;
    endMoveColumns();
    Q_EMIT structureChanged();
}

void ClassTableModel::classChanged()
{
    // Rows and columns at the end come or go (showing the rest as it was), then every cell
    // is shown anew.
    const qsizetype pupils = m_book.pupils.size();
    const qsizetype shownPupils = m_shown.pupils.size();
    if (pupils > shownPupils) {
        beginInsertRows({}, int(shownPupils), int(pupils) - 1);
        m_shown.pupils += m_book.pupils.mid(shownPupils);
        endInsertRows();
    } else if (pupils < shownPupils) {
        beginRemoveRows({}, int(pupils), int(shownPupils) - 1);
        m_shown.pupils.resize(pupils);
        endRemoveRows();
    }
    const qsizetype fields = m_book.fields.size();
    const qsizetype shownFields = m_shown.fields.size();
    if (fields > shownFields) {
        beginInsertColumns({}, columnOfField(int(shownFields)), columnOfField(int(fields) - 1));
        m_shown.fields += m_book.fields.mid(shownFields);
        endInsertColumns();
    } else if (fields < shownFields) {
        beginRemoveColumns({}, columnOfField(int(fields)), columnOfField(int(shownFields) - 1));
        m_shown.fields.resize(fields);
        endRemoveColumns();
    }
    m_shown = m_book;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    rowsChanged(0, rowCount() - 1);
    Q_EMIT structureChanged();
}

void ClassTableModel::classReplaced()
{
    beginResetModel();
    m_shown = m_book;
    endResetModel();
    Q_EMIT structureChanged();
}
