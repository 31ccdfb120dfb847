#include "valuescrollbar.h"

#include <QStyle>
#include <QStyleOptionSlider>

ValueScrollBar::ValueScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
}

QRect ValueScrollBar::thumbRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

bool ValueScrollBar::atEnd() const
{
    return value() == minimum() || value() == maximum();
}

void ValueScrollBar::sliderChange(SliderChange change)
{
    // A repaint already asked for still comes and shows the newest position.
    if (change == SliderValueChange && !m_paintedThumb.isEmpty() && thumbRect() == m_paintedThumb &&
        !atEnd() && !m_paintedAtEnd)
        return;
    QScrollBar::sliderChange(change);
}

void ValueScrollBar::paintEvent(QPaintEvent *event)
{
    m_paintedThumb = thumbRect();
    m_paintedAtEnd = atEnd();
    QScrollBar::paintEvent(event);
}
