#pragma once

#include <QString>

// Values of a camera file that the editor's sliders cannot hold, told as one phrase.
namespace kestrelcam {

// The values slider `field` can show, with their unit: "-120 to 120 m",
// "0 to 180 degrees".
QString sliderRangeText(int field);

// Whether slider `field` shows the stored value as it is (rounded to its step), rather
// than at an end of its range or, for a NaN, at 0.
bool sliderHolds(int field, float value);

// Why slider `field` cannot hold `value` and what the editor shows instead:
// "130 m is beyond the slider's range (-120 to 120 m); the editor shows 120",
// "nan(0x7fc00001) is not a number; the editor shows 0". Angles are in degrees.
QString unheldValueText(int field, float value);

} // namespace kestrelcam
