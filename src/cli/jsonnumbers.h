#pragma once

#include "modcameramath.h"

#include <QString>

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
// the decimal, rounded once. A negative number that rounds to zero gives -0.
StoredNumber storedFromText(std::string_view text);

// An angle in degrees (version 2): the decimal read as a double, multiplied in double
// by DegreesToRadiansFactor and rounded once to binary32.
StoredNumber radiansFromDegreesText(std::string_view text);

// The same from a double already read; nullopt beyond the largest binary32 value.
std::optional<float> radiansFromDegrees(double degrees);

// The shortest decimal that storedFromText reads as `value` ("2.323915", "-0");
// nullopt for an infinity or a NaN.
std::optional<std::string> storedNumberText(float value);

// The shortest decimal that radiansFromDegreesText reads as the stored angle
// `radians` ("77.99", "-0"); nullopt where no decimal does (an infinity, a NaN).
std::optional<std::string> degreesNumberText(float radians);

// A stored value as the format shows it to a person: metres or degrees as above,
// "inf", "-inf" or "nan(0xBITS)" where no number does.
QString jsonValueText(int field, float value);

} // namespace kestrelcam
