#pragma once

#include <QTableView>

// A table whose first columns (出席番号 and 氏名) stay in view when it scrolls sideways: a
// second view of the same model and selection lies over them and scrolls only up and down
// (as Qt's frozen column example does it).
class FrozenColumnsTable : public QTableView {
    Q_OBJECT
public:
    FrozenColumnsTable(int frozenColumns, QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QTableView *frozenView() const { return m_frozen; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;

private:
    void showFrozenColumnsOnly();
    void placeFrozenView();
    int frozenWidth() const;

    const int m_frozenColumns;
    QTableView *const m_frozen;
};
