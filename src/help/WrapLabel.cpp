#include "WrapLabel.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

WrapLabel::WrapLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

int WrapLabel::textHeight() const
{
    return qCeil(layOut(nullptr));
}

void WrapLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layOut(&painter);
}

// Lays the text out from the top-left corner of the contents, drawing it when a painter is
// given, and returns its height.
qreal WrapLabel::layOut(QPainter *painter) const
{
    const QRect area = contentsRect();
    const QFont font = this->font();
    const qreal pitch = qMin(QFontMetricsF(font).height(), qreal(QFontInfo(font).pixelSize()));
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);

    qreal y = 0;
    const QStringList paragraphs = text().split(u'\n');
    for (const QString &paragraph : paragraphs) {
        QTextLayout layout(paragraph, font, this);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal lineTop = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(area.width());
            line.setPosition(QPointF(0, lineTop));
            lineTop += pitch;
        }
        layout.endLayout();
        if (painter && area.top() + y < area.bottom())
            layout.draw(painter, QPointF(area.left(), area.top() + y));
        y += qMax(lineTop, pitch);
    }
    return y;
}
