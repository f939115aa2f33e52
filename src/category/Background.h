#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Fills a control with a colour of its own, as the window was designed.
inline void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
