#pragma once

#include "RosterMatch.h"
#include "Roster.h"

#include <QDialog>
#include <QHash>
#include <QList>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The roster as read and what it will do to the class, before anything changes. The
// teacher corrects the column roles, the header row and how 1/2 in 性別 read, sees each
// row as new, renumbered, renamed, updated or unchanged with the counts and the pupils the
// roster lacks, and answers where a row may or may not be a child already in the class.
class RosterPreviewDialog : public QDialog {
    Q_OBJECT
public:
    RosterPreviewDialog(const RosterTable &table, const ClassBook &book, QWidget *parent = nullptr);
    RosterTable table() const { return m_table; }
    RosterPlan plan() const { return m_plan; }

private:
    void fillRows();
    void replan();
    void showPlan();
    void updateSummary();
    void choose(int row, int pupil);

    RosterTable m_table;
    const ClassBook m_book;
    RosterPlan m_plan;
    QHash<int, int> m_choices; // roster line -> the pupil the teacher chose (-1 a new child)
    QComboBox *const m_headerRow; // なし, then each row by its line
    QComboBox *const m_sexCodes;
    QLabel *const m_sexCodesLabel;
    QTableWidget *const m_rows;
    QTableWidget *const m_planRows;
    QLabel *const m_summary;
    QPushButton *m_import = nullptr;
};
