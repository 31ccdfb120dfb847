#pragma once

#include <QString>

// Text of stored binary32 values for the command line, exact and locale-free.
namespace kestrelcam {

// "0x" and the eight lower-case hex digits of the value's bits: "0x7fc00001".
QString bitsText(float value);

// The shortest text that reads back as the same binary32 ("2.323915", "-0", "1e-45"),
// "inf" or "-inf" for the infinities and "nan(0x7fc00001)" for a NaN, bits included.
QString floatText(float value);

// A stored value as the JSON format writes it (jsonnumbers.h), for show --exact and
// the like: metres or degrees, "inf", "-inf" or "nan(0xBITS)" where no number does.
QString jsonValueText(int field, float value);

// Field `field`'s unit as the command line writes it: "m" or "degrees".
QString unitName(int field);

// A stored value in the field's unit at the precision of the editor's value displays:
// metres to 3 decimals, degrees to 2 ("2.324", "77.99", "-7.16", never "-0.000").
// With trimmed, trailing zeros go ("70" for 70.00). Values that are not finite, or
// too large for a fixed text of 12 characters, in their exact text (jsonValueText).
QString roundedValueText(int field, float value, bool trimmed = false);

// What the editor's value display shows at a slider position ("2.324", "-0.4").
QString displayText(int field, int position);

// The range typed entry takes, with its unit: "-120 to 120 m", "0 to 180 degrees".
QString typedRangeText(int field);

} // namespace kestrelcam
