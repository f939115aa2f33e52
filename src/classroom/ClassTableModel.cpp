#include "ClassTableModel.h"

#include "ClassEditing.h"

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

ClassTableModel::ClassTableModel(const ClassBook &book, QObject *parent) : QAbstractTableModel(parent), m_book(book)
{
}

int ClassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_book.pupils.size());
}

int ClassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FixedColumns + int(m_book.fields.size());
}

ClassTableModel::CellState ClassTableModel::stateOf(const QString &text, int limit)
{
    if (text.trimmed().isEmpty())
        return CellState::Empty;
    if (limit > 0 && characterCount(text) > limit)
        return CellState::OverLimit;
    return CellState::Written;
}

QString ClassTableModel::countText(int length, int limit)
{
    return limit > 0 ? QStringLiteral("%1/%2").arg(length).arg(limit) : QStringLiteral("%1字").arg(length);
}

QVariant ClassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_book.pupils.size())
        return {};
    const Pupil &pupil = m_book.pupils[index.row()];
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
    if (field >= m_book.fields.size())
        return {};
    const QString text = pupil.texts.value(field);
    const int limit = m_book.fields[field].limit;
    const CellState state = stateOf(text, limit);
    const bool duplicate = state != CellState::Empty && m_isDuplicate && m_isDuplicate(index.row(), field);
    const QString sharedSign = duplicate ? QStringLiteral("≒") : QString();
    switch (role) {
    case Qt::DisplayRole: {
        const QString count = countText(characterCount(text), limit);
        switch (state) {
        case CellState::Empty: return QStringLiteral("□ 未記入");
        case CellState::OverLimit: return QStringLiteral("！%1%2 %3").arg(sharedSign, count, preview(text));
        case CellState::Written: break;
        }
        return QStringLiteral("%1%2 %3").arg(sharedSign, count, preview(text));
    }
    case Qt::ToolTipRole:
        if (text.isEmpty())
            return QStringLiteral("未記入");
        return duplicate ? text + QStringLiteral("\n\n≒ 同じ文がほかの児童・生徒の欄にもあります。") : text;
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
    if (field >= m_book.fields.size())
        return {};
    const ClassField &f = m_book.fields[field];
    return f.limit > 0 ? QStringLiteral("%1（%2字）").arg(f.name).arg(f.limit) : f.name;
}

void ClassTableModel::setDuplicateMarks(std::function<bool(int pupil, int field)> isDuplicate)
{
    m_isDuplicate = std::move(isDuplicate);
}

void ClassTableModel::textChanged(int pupil, int field)
{
    const QModelIndex cell = index(pupil, columnOfField(field));
    Q_EMIT dataChanged(cell, cell);
}

void ClassTableModel::notesChanged(int pupil)
{
    const QModelIndex cell = index(pupil, NotesCountColumn);
    Q_EMIT dataChanged(cell, cell);
}

void ClassTableModel::classChanged()
{
    beginResetModel();
    endResetModel();
}
