#pragma once

#include "Roster.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

// The roster as read, before it joins the class: the teacher sees the rows, whether the
// first one is a header, and the role of every column, and corrects what was guessed.
class RosterPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit RosterPreviewDialog(const RosterTable &table, QWidget *parent = nullptr);
    RosterTable table() const { return m_table; }

private:
    void fillRows();
    void updateSummary();

    RosterTable m_table;
    QCheckBox *const m_header;
    QTableWidget *const m_rows;
    QLabel *const m_summary;
    QList<QComboBox *> m_roles;
};
