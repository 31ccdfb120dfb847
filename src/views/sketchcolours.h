#pragma once

#include <QColor>

// The colours of the fixed car sketch, which the three views draw and the view
// through a camera's eye makes solid.
namespace SketchColours {

inline constexpr QColor Body(150, 20, 10);
inline constexpr QColor CentrePanel(115, 110, 110);
inline constexpr QColor Strip(170, 170, 170);
inline constexpr QColor Cockpit(170, 70, 70);
inline constexpr QColor Helmet(0, 0, 80);
inline constexpr QColor Wheel(0, 0, 0);
inline constexpr QColor Hub(110, 110, 110);
inline constexpr QColor FrontAxle(255, 255, 255);
// The rear axle bar is drawn in the views' foreground colour, ViewColours::WindowText.

} // namespace SketchColours
