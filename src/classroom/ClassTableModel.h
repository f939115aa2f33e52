#pragma once

#include "CellMarks.h"
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

    static CellState stateOf(const CellMarks &marks);
    // "185/200" ("185字" without a limit).
    static QString countText(int length, int limit);

    // The field shown in a column, or a negative number for 出席番号, 氏名 and メモ.
    static int fieldOfColumn(int column) { return column - FixedColumns; }
    static int columnOfField(int field) { return field + FixedColumns; }

    // Where the marks for a sentence shared with another pupil come from (see DuplicateMarks).
    void setDuplicateMarks(std::function<bool(int pupil, int field)> isDuplicate);

    // What changed in the class, told after it changed through the store, so that the views
    // keep their selection and scroll instead of starting over. Until it is told, the table
    // shows the class as it was (a shared copy, so views asking in between see what they
    // were last told).
    void cellChanged(int pupil, int field); // a text, or its marks
    void notesChanged(int pupil);
    void pupilChanged(int pupil);            // the pupil's details
    void pupilInserted(int pupil);
    void pupilRemoved(int pupil);
    void pupilMoved(int from, int to);       // renumbered: the rows between change too
    void fieldChanged(int field);            // its name or limit
    void fieldInserted(int field);
    void fieldRemoved(int field);
    void fieldMoved(int from, int to);
    // Anything else (a roster merged): rows and columns added or removed at the end to
    // match, and every cell shown anew.
    void classChanged();
    // Another class (opened, created, reloaded): the views start over.
    void classReplaced();

Q_SIGNALS:
    // Rows or columns came, went or moved, or the class was replaced: a pupil or field
    // index kept elsewhere may name another one now.
    void structureChanged();

private:
    static QVariant notesData(const Pupil &pupil, int role);
    void rowsChanged(int first, int last);

    const ClassBook &m_book; // the class, as the store holds it
    ClassBook m_shown;       // the class as the views were last told
    std::function<bool(int pupil, int field)> m_isDuplicate;
};
