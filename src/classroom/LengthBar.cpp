#include "LengthBar.h"

#include <QPainter>

#include <algorithm>

namespace {
const QColor Track(224, 224, 224);
const QColor Fill(64, 128, 208);
const QColor Over(208, 48, 48);
} // namespace

LengthBar::LengthBar(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(8);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LengthBar::setMarks(const CellMarks &marks, int limit)
{
    if (marks.length == m_length && limit == m_limit && marks.overLimit == m_over)
        return;
    m_length = marks.length;
    m_limit = limit;
    m_over = marks.overLimit;
    setAccessibleDescription(limit > 0 ? QStringLiteral("%1/%2字").arg(m_length).arg(limit) : QString());
    update();
}

void LengthBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Track);
    if (m_limit <= 0)
        return;
    const double share = std::min(1.0, double(m_length) / m_limit);
    painter.fillRect(QRect(0, 0, int(width() * share + 0.5), height()), m_over ? Over : Fill);
}
