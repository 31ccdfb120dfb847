#pragma once

#include <QString>

// Text of stored binary32 values for the command line, exact and locale-free.
namespace kestrelcam {

// "0x" and the eight lower-case hex digits of the value's bits: "0x7fc00001".
QString bitsText(float value);

// The shortest text that reads back as the same binary32 ("2.323915", "-0", "1e-45"),
// "inf" or "-inf" for the infinities and "nan(0x7fc00001)" for a NaN, bits included.
QString floatText(float value);

// The degrees of a stored angle, RadiansToDegrees of it (a double), in the shortest
// text that reads back as that double; infinities and NaNs as floatText writes them.
QString degreesText(float radians);

} // namespace kestrelcam
