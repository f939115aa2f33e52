#pragma once

#include "ClassBook.h"
#include "ClassChecks.h"

#include <QObject>

class ClassTableModel;

// Keeps the table's ≒ marks (a sentence another pupil's field has too) up to date as the
// teacher types: each changed cell's sentences go into the class's sentence index, and the
// other cells whose mark came or went are shown again. A class replaced or restructured is
// read anew the next time a mark is asked for.
class DuplicateMarks : public QObject {
    Q_OBJECT
public:
    DuplicateMarks(const ClassBook &book, ClassTableModel *model);

    [[nodiscard]] bool isMarked(int pupil, int field);
    // The class's sentence index, up to date (for who already has an example).
    [[nodiscard]] const DuplicateSentences &sentences();

private:
    void cellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn);
    void rebuildIfStale();

    const ClassBook &m_book;
    ClassTableModel *const m_model;
    DuplicateSentences m_index;
    bool m_stale = true;
};
