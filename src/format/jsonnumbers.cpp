#include "jsonnumbers.h"

#include "camerarecord.h"
#include "slidervalues.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrelcam {

namespace {

// A JSON number as digits x 10^power, the digits without leading or trailing zeros
// (none for zero).
struct Decimal
{
    bool negative = false;
    std::string digits;
    long long power = 0;
};

Decimal decimalOf(std::string_view text)
{
    Decimal decimal{text.starts_with('-'), {}, 0};
    const std::size_t e = std::min(text.find_first_of("eE"), text.size());
    long long exponent = 0; // beyond a billion, only its sign matters
    for (const char c : text.substr(e)) {
        if (c >= '0' && c <= '9')
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    }
    const std::size_t point = std::min(text.find('.'), e);
    decimal.power = (text.substr(e).find('-') == std::string_view::npos ? exponent : -exponent) -
                    static_cast<long long>(e - std::min(point + 1, e));
    for (const char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9' && (c != '0' || !decimal.digits.empty()))
            decimal.digits += c;
    }
    while (!decimal.digits.empty() && decimal.digits.back() == '0') {
        decimal.digits.pop_back();
        ++decimal.power;
    }
    return decimal;
}

// A whole number of hundredths from -300 to 300, as hundredths.
std::optional<int> hundredthsOf(const Decimal &decimal)
{
    if (decimal.digits.empty())
        return decimal.negative ? std::nullopt : std::optional<int>(0);
    const long long shift = decimal.power + 2;
    if (shift < 0 || static_cast<long long>(decimal.digits.size()) + shift > 5)
        return std::nullopt;
    int hundredths = 0;
    for (const char c : decimal.digits)
        hundredths = hundredths * 10 + (c - '0');
    for (long long i = 0; i < shift; ++i)
        hundredths *= 10;
    if (hundredths > EditorHundredthsLimit)
        return std::nullopt;
    return decimal.negative ? -hundredths : hundredths;
}

// 10^n, the double nearest it.
double powerOfTen(int n)
{
    const std::string text = std::string("1e").append(std::to_string(n));
    double power = 0;
    std::from_chars(text.data(), text.data() + text.size(), power);
    return power;
}

// JSON has no leading '+'; from_chars takes none either.
template <typename T> StoredNumber read(std::string_view text, T *value)
{
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), *value);
    if (text.empty() || result.ptr != text.data() + text.size() ||
        result.ec == std::errc::invalid_argument)
        return {StoredNumber::Malformed};
    if (result.ec == std::errc::result_out_of_range) {
        // Too large when its first significant digit stands at a positive power of
        // ten; else too small, and zero of its sign.
        const Decimal decimal = decimalOf(text);
        if (decimal.power + static_cast<long long>(decimal.digits.size()) - 1 > 0)
            return {StoredNumber::TooLarge};
        *value = decimal.negative ? -T(0) : T(0);
    }
    return {StoredNumber::Ok};
}

std::optional<float> radiansFromDegrees(double degrees)
{
    const double radians = degrees * DegreesToRadiansFactor;
    if (std::fabs(radians) >= FloatOverflowThreshold)
        return std::nullopt;
    if (std::fabs(radians) > FLT_MAX)
        return std::copysign(FLT_MAX, radians);
    return static_cast<float>(radians);
}

// mantissa x 10^exponent as std::to_chars writes a double: plainly or with an
// exponent, whichever is shorter, plainly on a tie.
std::string decimalText(bool negative, std::uint64_t mantissa, int exponent)
{
    for (; mantissa % 10 == 0; mantissa /= 10)
        ++exponent;
    const std::string digits = std::to_string(mantissa);
    const int point = int(digits.size()) + exponent; // digits before the point
    std::string plain(negative ? "-" : ""), scientific(plain);
    if (exponent >= 0)
        plain.append(digits).append(std::size_t(exponent), '0');
    else if (point > 0)
        plain.append(digits, 0, std::size_t(point))
            .append(1, '.')
            .append(digits, std::size_t(point));
    else
        plain.append("0.").append(std::size_t(-point), '0').append(digits);
    scientific.append(digits, 0, 1).append(digits.size() > 1 ? "." : "").append(digits, 1);
    scientific.append(point > 0 ? "e+" : "e-").append(std::abs(point - 1) < 10 ? "0" : "");
    scientific.append(std::to_string(std::abs(point - 1)));
    return scientific.size() < plain.size() ? scientific : plain;
}

// The slider position in hundredths of a degree at which the editor stores exactly
// this angle (a magnitude): a value it stores for a typed or dragged angle, which
// is written as it shows it.
std::optional<int> editorPositionOf(int field, float magnitude)
{
    const double hundredths = std::nearbyint(modCameraMath::RadiansToDegrees(magnitude) * 100);
    if (hundredths <= EditorHundredthsLimit &&
        floatBits(fieldForPosition(field, int(hundredths))) == floatBits(magnitude))
        return int(hundredths);
    return std::nullopt;
}

// The binary32 rounding interval of an angle (a magnitude), in degrees: its middle is
// where a short decimal is most likely to be accepted.
struct DegreesInterval
{
    double middle;
    double exact; // the angle itself
    double width;
    int power; // of the middle's first digit

    // A quick look in double: whether the interval is narrower than the spacing of
    // decimals of that many digits and clearly misses the nearest one, so that it
    // misses all of them. Rounding errors stay far below the margin of 0.05 spacings
    // up to 14 digits; beyond, every length is tried in full.
    bool missesEvery(int digits) const
    {
        if (digits > 14)
            return false;
        const double spacing = powerOfTen(power - digits + 1);
        const double units = middle / spacing;
        const double reach = width / spacing; // the interval's width, in spacings
        return reach < 0.9 && std::fabs(units - std::nearbyint(units)) > reach / 2 + 0.05;
    }
};

DegreesInterval degreesInterval(float magnitude)
{
    const double below = (double(magnitude) + double(std::nextafter(magnitude, 0.0f))) / 2;
    const double above =
        magnitude == FLT_MAX
            ? FloatOverflowThreshold
            : (double(magnitude) + double(std::nextafter(magnitude, INFINITY))) / 2;
    DegreesInterval interval{};
    interval.middle = (below + above) / 2 / DegreesToRadiansFactor;
    interval.exact = double(magnitude) / DegreesToRadiansFactor;
    interval.width = (above - below) / DegreesToRadiansFactor;
    interval.power = int(std::floor(std::log10(interval.middle))); // made exact:
    if (powerOfTen(interval.power) > interval.middle)
        --interval.power;
    else if (powerOfTen(interval.power + 1) <= interval.middle)
        ++interval.power;
    return interval;
}

// mantissa x 10^exponent
struct RoundedDecimal
{
    std::uint64_t mantissa;
    int exponent;
};

// value rounded to digits significant digits, as std::to_chars rounds it.
RoundedDecimal roundedTo(double value, int digits)
{
    char buffer[40];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                                       std::chars_format::scientific, digits - 1);
    const std::string_view text(buffer, written.ptr);
    RoundedDecimal rounded{0, 0};
    for (const char c : text.substr(0, text.find('e'))) {
        if (c != '.')
            rounded.mantissa = rounded.mantissa * 10 + std::uint64_t(c - '0');
    }
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    std::from_chars(exponentText.data() + (exponentText[0] == '+'),
                    exponentText.data() + exponentText.size(), rounded.exponent);
    rounded.exponent -= digits - 1;
    return rounded;
}

// Of the decimal and its two neighbours at the same exponent, those that read back as
// the angle (a magnitude) and are no editor value, the one nearest the exact degrees,
// as a shortest text of a double is the one nearest the double: its mantissa.
std::optional<std::uint64_t> nearestAccepted(float magnitude, double exact,
                                             const RoundedDecimal &decimal)
{
    std::optional<std::pair<std::uint64_t, double>> best;
    for (const int step : {0, -1, 1}) {
        const std::uint64_t candidate = decimal.mantissa + std::uint64_t(std::int64_t(step));
        if (candidate == 0)
            continue;
        const std::string text = std::to_string(candidate) + 'e' + std::to_string(decimal.exponent);
        double degrees = 0;
        std::from_chars(text.data(), text.data() + text.size(), degrees);
        const std::optional<float> back = radiansFromDegrees(degrees);
        const bool accepted =
            back && floatBits(*back) == floatBits(magnitude) && !editorHundredths(text);
        if (accepted && (!best || std::fabs(degrees - exact) < std::fabs(best->second - exact)))
            best = {candidate, degrees};
    }
    if (!best)
        return std::nullopt;
    return best->first;
}

} // namespace

StoredNumber storedFromText(std::string_view text)
{
    float value = 0;
    StoredNumber result = read(text, &value);
    result.value = value;
    return result;
}

StoredNumber radiansFromDegreesText(std::string_view text)
{
    double degrees = 0;
    StoredNumber result = read(text, &degrees);
    if (result.status != StoredNumber::Ok)
        return result;
    const std::optional<float> radians = radiansFromDegrees(degrees);
    if (!radians)
        return {StoredNumber::TooLarge};
    result.value = *radians;
    return result;
}

std::optional<int> editorHundredths(std::string_view text)
{
    return hundredthsOf(decimalOf(text));
}

StoredNumber angleFromText(std::string_view text, int field)
{
    StoredNumber result = radiansFromDegreesText(text);
    if (result.status == StoredNumber::Ok) {
        if (const std::optional<int> hundredths = editorHundredths(text))
            result.value = fieldForPosition(field, *hundredths);
    }
    return result;
}

std::optional<std::string> storedNumberText(float value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::optional<std::string> degreesNumberText(int field, float radians)
{
    if (!std::isfinite(radians))
        return std::nullopt;
    if (radians == 0)
        return std::signbit(radians) ? "-0" : "0";
    // Work on the magnitude: reading, multiplying and rounding are symmetric in sign,
    // and so is the editor's conversion.
    const bool negative = radians < 0;
    const float magnitude = std::fabs(radians);
    if (const std::optional<int> hundredths = editorPositionOf(field, magnitude))
        return decimalText(negative, std::uint64_t(*hundredths), -2);

    // Any other value: the shortest number off that grid whose double, times the
    // factor and rounded once, gives the value. For each number of digits, the middle
    // of the interval rounded to them and its two neighbours: when any decimal of that
    // length is accepted, one of these is (the interval holds at most one number of
    // the grid, which is never accepted).
    const DegreesInterval interval = degreesInterval(magnitude);
    for (int digits = 1; digits <= 17; ++digits) {
        if (interval.missesEvery(digits))
            continue;
        const RoundedDecimal rounded = roundedTo(interval.middle, digits);
        if (const std::optional<std::uint64_t> mantissa =
                nearestAccepted(magnitude, interval.exact, rounded))
            return decimalText(negative, *mantissa, rounded.exponent);
    }
    return std::nullopt;
}

} // namespace kestrelcam
