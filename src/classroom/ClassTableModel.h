#pragma once

#include "ClassBook.h"

#include <QAbstractTableModel>

#include <functional>

// The class as a table: one row per pupil (in the class's order), the columns 出席番号,
// 氏名 and メモ (how many notes the pupil has; none is marked), then one per field showing the start of its text and its length against the limit.
// A text over its limit and an empty text are marked by colour and by a sign in the text,
// so that they can be told apart without colour too; so is a text holding a sentence that
// another pupil's text has too (≒).
class ClassTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class CellState { Written, Empty, OverLimit };
    static constexpr int FixedColumns = 3;
    static constexpr int NotesCountColumn = 2;
    static constexpr int StateRole = Qt::UserRole + 1; // CellState as int, field columns only
    static constexpr int TextRole = Qt::UserRole + 2;  // the whole text, field columns only
    static constexpr int DuplicateRole = Qt::UserRole + 3; // holds a sentence another pupil has too

    explicit ClassTableModel(const ClassBook &book, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static CellState stateOf(const QString &text, int limit);
    // "185/200" ("185字" without a limit).
    static QString countText(int length, int limit);

    // The field shown in a column, or a negative number for 出席番号, 氏名 and メモ.
    static int fieldOfColumn(int column) { return column - FixedColumns; }
    static int columnOfField(int field) { return field + FixedColumns; }

    // Where the marks for a sentence shared with another pupil come from (see DuplicateMarks).
    void setDuplicateMarks(std::function<bool(int pupil, int field)> isDuplicate);

    // Call after one text changed, or after anything else changed in the class.
    void textChanged(int pupil, int field);
    void notesChanged(int pupil);
    void classChanged();

private:
    static QVariant notesData(const Pupil &pupil, int role);

    const ClassBook &m_book;
    std::function<bool(int pupil, int field)> m_isDuplicate;
};
