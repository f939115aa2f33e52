#pragma once

#include <QHash>
#include <QStyledItemDelegate>

class QListView;

// An example as the pane shows it: its category and classes on a small grey line, then the
// whole sentence wrapped to the list's width. Heights are kept per sentence until the width
// changes, so that a search, which lists the rows again at every key, measures each sentence once.
class ExampleDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ExampleDelegate(QListView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    // A list narrowed or widened wraps its sentences again (a list view lays its rows out
    // again only when its height changes).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int textWidth() const;
    QFont classFont(const QFont &font) const;

    QListView *const m_view;
    mutable int m_measuredWidth = -1;
    mutable QHash<QString, int> m_heights; // sentence -> its wrapped height at m_measuredWidth
};
