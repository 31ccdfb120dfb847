#include "valuetext.h"

#include "camerarecord.h"
#include "modcameramath.h"

#include <charconv>
#include <cmath>

namespace kestrelcam {

namespace {

// Both overloads of to_chars without a format give the shortest round-trip text.
template <typename T> QString shortestText(T value)
{
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The text of a value that is not finite, or an empty string for a finite one.
QString nonFiniteText(float value)
{
    if (std::isnan(value))
        return QStringLiteral("nan(%1)").arg(bitsText(value));
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    return QString();
}

} // namespace

QString bitsText(float value)
{
    return QStringLiteral("0x%1").arg(floatBits(value), 8, 16, QLatin1Char('0'));
}

QString floatText(float value)
{
    const QString special = nonFiniteText(value);
    return special.isEmpty() ? shortestText(value) : special;
}

QString degreesText(float radians)
{
    const QString special = nonFiniteText(radians);
    return special.isEmpty() ? shortestText(modCameraMath::RadiansToDegrees(radians)) : special;
}

} // namespace kestrelcam
