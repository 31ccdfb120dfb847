#pragma once

#include "modcameramath.h"

#include <optional>
#include <string>
#include <string_view>

// Numbers of the JSON camera format: how a value's text gives its stored binary32,
// and the text export writes for it.
namespace kestrelcam {

// The editor's factor from degrees to radians, formed in double as it forms it.
inline constexpr double DegreesToRadiansFactor = modCameraMath::Pi / 180.0;

// Halfway between the largest finite binary32 and 2^128: a number this large or
// larger rounds to an infinity; below it, down to FLT_MAX at most.
inline constexpr double FloatOverflowThreshold = 0x1.ffffffp127;

// The degrees the editor's angle sliders hold, in hundredths: -300 to 300 (Yaw2 and
// Pitch2 reach that far; the others hold less).
inline constexpr int EditorHundredthsLimit = 30000;

struct StoredNumber
{
    enum Status
    {
        Ok,
        TooLarge,  // beyond the largest binary32 value
        Malformed, // not a JSON number
    } status;
    float value = 0;
};

// A number in file units (metres, or radians in version 1): the nearest binary32 of
// the decimal, rounded once; -0 for a negative number that rounds to zero.
StoredNumber storedFromText(std::string_view text);
// Degrees as version 2 reads them: the decimal read as a double, multiplied in double
// by DegreesToRadiansFactor and rounded once to binary32.
StoredNumber radiansFromDegreesText(std::string_view text);

// The hundredths of a number that is a whole number of hundredths from -300 to 300
// ("77.99" 7799, "-7.16", "180", "1.5e1"): a slider position of the editor; nullopt
// for any other number and for a negative zero, which keeps its sign.
std::optional<int> editorHundredths(std::string_view text);

// An angle of field `field` in degrees as version 3 reads it: a whole number of
// hundredths from -300 to 300 as the editor's typed entry or a drag and Apply store it
// (the degrees rounded to binary32, then converted); any other number as version 2.
StoredNumber angleFromText(std::string_view text, int field);

// The shortest decimal that storedFromText reads as `value` ("2.323915", "-0");
// nullopt for an infinity or a NaN.
std::optional<std::string> storedNumberText(float value);

// The shortest decimal that angleFromText reads as the stored angle `radians` of
// field `field`: the editor's own text for a value it stores ("77.99", "-7.16"),
// else as long as it must be ("77.99428", "-0"); nullopt for an infinity or a NaN.
std::optional<std::string> degreesNumberText(int field, float radians);

} // namespace kestrelcam
