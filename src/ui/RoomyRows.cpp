#include "RoomyRows.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace {

class RoomyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, option.fontMetrics.height() / 2);
    }
};

} // namespace

void giveRowsRoom(QAbstractItemView *view) { view->setItemDelegate(new RoomyDelegate(view)); }
