#pragma once

#include <QRadioButton>

// An option button that takes a click anywhere in its place, not only on its round
// mark and caption, as option buttons of fixed-place dialogs always have.
class OptionButton : public QRadioButton
{
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};
