#pragma once

#include <QColor>
#include <QRect>

// Layout units of 1/1440 inch (15 make one device-independent pixel at 96 dots per
// inch), and where the three views stand in the main window with their colours:
// what the editor's window shows and what a picture of its views draws.
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

} // namespace WindowLayout

// The views' places in the main window's client area.
namespace MainWindowPlaces {

using WindowLayout::Place;

inline constexpr Place Picture1 = {120, 4440, 3855, 3375};  // top view
inline constexpr Place Picture2 = {4080, 4440, 3855, 3375}; // side view
inline constexpr Place Picture3 = {8040, 4440, 3735, 3375}; // front view

} // namespace MainWindowPlaces

namespace ViewColours {

// Each view sets its own background.
inline constexpr QColor Picture1Background(64, 64, 64);
inline constexpr QColor Picture2Background(128, 128, 128);
inline constexpr QColor Picture3Background(128, 128, 128);

// What the window shows with Qt's own style and palette, on a display or without
// one: the client area's background and the text colour, which is also the views'
// foreground. The views' fill colour is always black.
inline constexpr QColor WindowBackground(239, 239, 239);
inline constexpr QColor WindowText(0, 0, 0);

} // namespace ViewColours
