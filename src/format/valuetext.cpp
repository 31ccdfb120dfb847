#include "valuetext.h"

#include "camerarecord.h"
#include "jsonnumbers.h"
#include "modcameramath.h"
#include "slidervalues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

QString jsonValueText(int field, float value)
{
    const std::optional<std::string> text =
        sliderSpec(field).isPosition() ? storedNumberText(value) : degreesNumberText(field, value);
    return text ? QString::fromStdString(*text) : floatText(value);
}

QString unitName(int field)
{
    return sliderSpec(field).isPosition() ? QStringLiteral("m") : QStringLiteral("degrees");
}

QString roundedValueText(int field, float value, bool trimmed)
{
    const bool position = sliderSpec(field).isPosition();
    const double shown = position ? double(value) : modCameraMath::RadiansToDegrees(value);
    char buffer[64];
    const int length = std::isfinite(shown)
                           ? std::snprintf(buffer, sizeof buffer, "%.*f", position ? 3 : 2, shown)
                           : -1;
    if (length < 0 || length > 12)
        return jsonValueText(field, value);
    QString text = QString::fromLatin1(buffer, length);
    if (trimmed) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    // A small negative value rounds to zero, not to "-0.000".
    if (text.startsWith(QLatin1Char('-')) && std::all_of(text.begin() + 1, text.end(), [](QChar c) {
            return c == QLatin1Char('0') || c == QLatin1Char('.');
        }))
        text.remove(0, 1);
    return text;
}

QString displayText(int field, int position)
{
    return formatPlainDecimal(sliderValue(field, position));
}

QString typedRangeText(int field)
{
    const SliderSpec &slider = sliderSpec(field);
    // Typed entry also stays within the slider: for Zoom that is 0 to 180.
    const double low = std::max(slider.typedMinimum, sliderValue(field, slider.minimum));
    const double high = std::min(slider.typedMaximum, sliderValue(field, slider.maximum));
    return QStringLiteral("%1 to %2 %3")
        .arg(formatPlainDecimal(low), formatPlainDecimal(high), unitName(field));
}

} // namespace kestrelcam
