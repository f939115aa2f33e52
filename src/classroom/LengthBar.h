#pragma once

#include "CellMarks.h"

#include <QWidget>

// A thin bar showing how much of a field's limit a text fills, red when over. It is
// repainted at every keystroke, so it paints two plain rectangles: a QProgressBar in the
// Fusion style drew rounded, stroked gradients and cost a third of the keystroke's repaint.
class LengthBar : public QWidget {
    Q_OBJECT
public:
    explicit LengthBar(QWidget *parent = nullptr);

    // The text's marks (cellMarks) against its field's limit.
    void setMarks(const CellMarks &marks, int limit);
    int length() const { return m_length; }
    int limit() const { return m_limit; }

    QSize sizeHint() const override { return {100, 8}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_length = 0;
    int m_limit = 0;
    bool m_over = false;
};
