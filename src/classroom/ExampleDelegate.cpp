#include "ExampleDelegate.h"

#include "ExampleListModel.h"

#include <QEvent>
#include <QListView>
#include <QPainter>

namespace {

constexpr int Margin = 4;
constexpr int Flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QString displayed(const QModelIndex &index)
{
    QString sentence = index.data(Qt::DisplayRole).toString();
    sentence.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return sentence;
}

} // namespace

ExampleDelegate::ExampleDelegate(QListView *view) : QStyledItemDelegate(view), m_view(view)
{
    m_view->viewport()->installEventFilter(this);
}

bool ExampleDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && m_measuredWidth >= 0 && textWidth() != m_measuredWidth)
        Q_EMIT sizeHintChanged(QModelIndex());
    return QStyledItemDelegate::eventFilter(watched, event);
}

int ExampleDelegate::textWidth() const { return qMax(40, m_view->viewport()->width() - 2 * Margin); }

QFont ExampleDelegate::classFont(const QFont &font) const
{
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() * 0.85);
    return small;
}

QSize ExampleDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = textWidth();
    if (width != m_measuredWidth) {
        m_heights.clear();
        m_measuredWidth = width;
    }
    const QString sentence = displayed(index);
    auto height = m_heights.constFind(sentence);
    if (height == m_heights.cend()) {
        const QRect wrapped = option.fontMetrics.boundingRect(QRect(0, 0, width, 100000), Flags, sentence);
        height = m_heights.insert(sentence, wrapped.height());
    }
    return {width + 2 * Margin, QFontMetrics(classFont(option.font)).height() + *height + 3 * Margin};
}

void ExampleDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle *style = m_view->style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, m_view);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QRect area = option.rect.adjusted(Margin, Margin, -Margin, -Margin);
    const QFont small = classFont(option.font);
    const int classHeight = QFontMetrics(small).height();

    painter->save();
    painter->setFont(small);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    const QString classes = index.data(ExampleListModel::ClassesRole).toString();
    painter->drawText(QRect(area.left(), area.top(), area.width(), classHeight), Qt::AlignLeft | Qt::TextSingleLine,
                      QFontMetrics(small).elidedText(classes, Qt::ElideRight, area.width()));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRect(area.left(), area.top() + classHeight + Margin, area.width(), area.height()), Flags,
                      displayed(index));
    // A thin line between two examples, so that where one ends stays plain.
    painter->setPen(option.palette.color(group, QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}
