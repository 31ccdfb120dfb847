#pragma once

#include "camerarecord.h"

#include <QString>

#include <optional>

// The nine value sliders of the editor: slider i edits field i of a CameraRecord.
// Positions are signed 16-bit step counts: 1/250 m for X, Y, Z and 1/100 degree
// for the six angles.
inline constexpr int PositionsPerMetre = 250;
inline constexpr int PositionsPerDegree = 100;
inline constexpr int SliderCount = CameraRecord::FieldCount;

struct SliderSpec
{
    const char *caption; // the row's name, as its label shows it
    int scale;           // positions per metre or per degree
    int minimum;         // slider range, in positions
    int maximum;
    int clickStep;      // the larger of the two click steps
    int designPosition; // position before the first fill
    const char *designCaption;
    double typedMinimum; // bounds of typed entry, both included
    double typedMaximum;
    const char *prompt;
    const char *title;
    const char *nonNumericMessage;

    bool isPosition() const { return scale == PositionsPerMetre; }
};

const SliderSpec &sliderSpec(int index);

// What a screen reader calls value row `index`: its name and unit, e.g. "X, metres",
// and its value display showing `shown`: "X, metres: 2.324".
QString valueAccessibleName(int index);
QString displayAccessibleName(int index, const QString &shown);

// Rounds to the nearest whole number, halves to even.
double roundHalfEven(double value);

// Rounds to 15 significant decimal digits (to nearest), the precision a stored
// angle keeps on its way to a slider position.
double roundToSignificantDigits(double value, int digits = 15);

// The step count a stored field value rounds to on slider `index` before it is kept
// within the slider's range (metres x 250 or degrees x 100, halves to even); NaN for
// a NaN, an infinity for an infinity.
double sliderSteps(int index, float fieldValue);

// The position slider `index` takes for a stored field value: metres x 250 or
// degrees x 100, rounded half to even. A value the slider cannot hold is shown at
// the nearest end of its range; a NaN is shown at 0.
int positionForField(int index, float fieldValue);

// The stored field value for a slider position, at slider resolution.
float fieldForPosition(int index, int position);

// What slider `index` shows at `position`: metres or degrees as a double.
double sliderValue(int index, int position);

// The position a value in the slider's unit (metres or degrees) sets on slider
// `index`: the value x its scale (250 a metre, 100 a degree), rounded half to even,
// kept within the slider's range (so Z stops at -0.4 m). A press in a view and the eye
// window's aim set their sliders so.
int pointedPosition(int index, double value);

// Plain decimal text of a value: at most 15 significant digits, no exponent, no
// trailing zeros, "0" for zero, a leading zero below 1, `decimalPoint` as the separator.
QString formatPlainDecimal(double value, QChar decimalPoint = QLatin1Char('.'));

// A text is numeric when, blanks aside, it is a decimal number with an optional
// sign, decimal part and exponent. The full stop is always the decimal separator;
// `localeDecimalPoint`, when it differs, is accepted too.
std::optional<double> parseTypedNumber(const QString &text,
                                       QChar localeDecimalPoint = QLatin1Char('.'));

// Typed entry for slider `index`.
struct TypedEntryResult
{
    enum Outcome
    {
        Empty,
        NotNumeric,
        OutOfRange,
        Accepted
    } outcome;
    int position = 0; // for Accepted
};

TypedEntryResult evaluateTypedEntry(int index, const QString &text,
                                    QChar localeDecimalPoint = QLatin1Char('.'));

// The message for an OutOfRange entry, the same for every row.
inline constexpr const char *ValueOutsideOfRangeMessage = "Value outside of range";
