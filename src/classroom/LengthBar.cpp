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

void LengthBar::setLength(int length, int limit)
{
    if (length == m_length && limit == m_limit)
        return;
    m_length = length;
    m_limit = limit;
    setAccessibleDescription(limit > 0 ? QStringLiteral("%1/%2字").arg(length).arg(limit) : QString());
    update();
}

void LengthBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Track);
    if (m_limit <= 0)
        return;
    const double share = std::min(1.0, double(m_length) / m_limit);
    painter.fillRect(QRect(0, 0, int(width() * share + 0.5), height()), m_length > m_limit ? Over : Fill);
}
