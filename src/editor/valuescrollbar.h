#pragma once

#include <QRect>
#include <QScrollBar>

// A value slider. A dragged thumb changes the position far more often than the
// thumb moves on screen (tens of positions a pixel), so a new position repaints the
// bar only when it looks different from what was painted last: the thumb has moved,
// or the position is at or has left an end of the range, where the arrows change
// state. Every change is still reported as usual.
class ValueScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit ValueScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect thumbRect() const;
    bool atEnd() const;

    // What the last paint showed; an empty rectangle before the first.
    QRect m_paintedThumb;
    bool m_paintedAtEnd = true;
};
