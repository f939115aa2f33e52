#pragma once

#include <QLabel>

// A label that acts as a link: it reports a left-button click released inside it, and
// Enter, Return or Space while it has the keyboard focus, which Tab gives it. A focus
// frame shows where the keyboard is; otherwise it looks like any label.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
