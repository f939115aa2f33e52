#pragma once

#include <QLabel>

class QPainter;

// A plain-text label that wraps at its width, starts a new line at each line break, and
// sets its lines one em apart, the line height of "ＭＳ Ｐゴシック" the help window was laid out
// with. Fallback fonts have taller line boxes (IPAPGothic's is 18 pixels at 12 points, not 16),
// which would push the end of the greeting out of its box.
class WrapLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrapLabel(QWidget *parent = nullptr);

    // Height the text takes when laid out at the label's width.
    int textHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal layOut(QPainter *painter) const;
};
