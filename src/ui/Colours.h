#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The colours the windows were designed with.
namespace colours {
inline const QColor lightYellow{255, 255, 192}; // the main window, the help pages' panels
inline const QColor grey{224, 224, 224};        // the category frame and its labels
inline const QColor white{255, 255, 255};
inline const QColor peach{255, 224, 192};       // the example box of "学習について"
inline const QColor lightCyan{192, 255, 255};   // the example box of the second category
} // namespace colours

// Fills a control with a colour of its own, as the window was designed.
inline void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
