#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

// What the two windows share: places kept in layout units of 1/1440 inch (15 make
// one device-independent pixel at 96 dots per inch), the dialog font and the icon.
namespace WindowLayout {

// Layout units to the nearest pixel, for the non-negative units the windows use.
constexpr int px(int twips)
{
    return (2 * twips + 15) / 30;
}

inline QRect place(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// A control's place in layout units, within its container.
struct Place
{
    int left, top, width, height;
};

inline QRect place(const Place &p)
{
    return place(p.left, p.top, p.width, p.height);
}

// A sans-serif face of the classic dialog font's width, at its size: every caption
// fits its fixed place at 96 dots per inch.
inline QFont dialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

inline QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/kestrel/kestrel.png"));
}

} // namespace WindowLayout
