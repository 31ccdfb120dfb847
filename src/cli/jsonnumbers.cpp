#include "jsonnumbers.h"

#include "slidervalues.h"
#include "valuetext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrelcam {

namespace {

// Whether a decimal whose conversion is out of range is too large (rather than too
// small): the power of ten of its first significant digit is positive. Such a
// decimal has a significant digit, and its magnitude is far from 1 either way.
bool tooLarge(std::string_view text)
{
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        for (const char c : text.substr(e + 1)) {
            if (c >= '0' && c <= '9')
                exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (text.substr(e + 1).starts_with('-'))
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    // Digits before the point: first..point-1 give a power of point-first-1; after
    // it, the first digit at point+k gives -k.
    const long long power = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return power + exponent > 0;
}

// 10^n for the powers a degrees value can need, each the double nearest it.
constexpr int LowestPower = -100;
constexpr int HighestPower = 100;
double powerOfTen(int n)
{
    static const std::array<double, HighestPower - LowestPower + 1> powers = [] {
        std::array<double, HighestPower - LowestPower + 1> table{};
        for (int i = LowestPower; i <= HighestPower; ++i) {
            const std::string text = "1e" + std::to_string(i);
            std::from_chars(text.data(), text.data() + text.size(), table[i - LowestPower]);
        }
        return table;
    }();
    return powers[std::size_t(std::clamp(n, LowestPower, HighestPower) - LowestPower)];
}

bool negative(std::string_view text)
{
    return text.starts_with('-');
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
        if (tooLarge(text))
            return {StoredNumber::TooLarge};
        *value = negative(text) ? -T(0) : T(0);
    }
    return {StoredNumber::Ok};
}

} // namespace

StoredNumber storedFromText(std::string_view text)
{
    float value = 0;
    StoredNumber result = read(text, &value);
    result.value = value;
    return result;
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

std::optional<std::string> storedNumberText(float value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::optional<std::string> degreesNumberText(float radians)
{
    if (!std::isfinite(radians))
        return std::nullopt;
    if (radians == 0)
        return std::signbit(radians) ? "-0" : "0";
    // Work on the magnitude: reading, multiplying and rounding are symmetric in sign.
    const float magnitude = std::fabs(radians);
    const auto accepted = [magnitude](double degrees) {
        const std::optional<float> back = radiansFromDegrees(degrees);
        return back &&
               std::bit_cast<std::uint32_t>(*back) == std::bit_cast<std::uint32_t>(magnitude);
    };
    // The binary32 rounding interval of the value, in degrees; its middle is where a
    // short decimal is most likely to be accepted.
    const double below = (double(magnitude) + double(std::nextafter(magnitude, 0.0f))) / 2;
    const double above =
        magnitude == FLT_MAX
            ? FloatOverflowThreshold
            : (double(magnitude) + double(std::nextafter(magnitude, INFINITY))) / 2;
    const double middle = (below + above) / 2 / DegreesToRadiansFactor;
    const double exact = double(magnitude) / DegreesToRadiansFactor;
    const double width = (above - below) / DegreesToRadiansFactor;
    int power = int(std::floor(std::log10(middle))); // of the first digit, made exact:
    if (powerOfTen(power) > middle)
        --power;
    else if (powerOfTen(power + 1) <= middle)
        ++power;

    // For each number of digits, the middle rounded to them and its two neighbours:
    // when any decimal of that length is accepted, one of these is.
    for (int digits = 1; digits <= 17; ++digits) {
        // A quick look in double first: where the interval is narrower than the
        // decimals' spacing and clearly misses the nearest one, it misses all of
        // them. Rounding errors stay far below the margin of 0.05 spacings up to
        // 14 digits; beyond, every length is tried in full.
        if (digits <= 14) {
            const double spacing = powerOfTen(power - digits + 1);
            const double units = middle / spacing;
            const double reach = width / spacing; // the interval's width, in spacings
            if (reach < 0.9 && std::fabs(units - std::nearbyint(units)) > reach / 2 + 0.05)
                continue;
        }
        char buffer[40];
        const std::to_chars_result written = std::to_chars(
            buffer, buffer + sizeof buffer, middle, std::chars_format::scientific, digits - 1);
        const std::string_view text(buffer, written.ptr);
        std::uint64_t mantissa = 0;
        for (const char c : text.substr(0, text.find('e'))) {
            if (c != '.')
                mantissa = mantissa * 10 + std::uint64_t(c - '0');
        }
        int exponent = 0;
        const std::string_view exponentText = text.substr(text.find('e') + 1);
        std::from_chars(exponentText.data() + (exponentText[0] == '+'),
                        exponentText.data() + exponentText.size(), exponent);
        exponent -= digits - 1;
        // Of those accepted, the one nearest the exact degrees, as a shortest text
        // of a double is the one nearest the double.
        std::optional<double> best;
        for (const int step : {0, -1, 1}) {
            const std::uint64_t candidate = mantissa + std::uint64_t(std::int64_t(step));
            if (candidate == 0)
                continue;
            // At most 20 digits, 'e' and a 4-character exponent.
            char candidateText[32];
            char *end = std::to_chars(candidateText, candidateText + 20, candidate).ptr;
            *end++ = 'e';
            end = std::to_chars(end, candidateText + sizeof candidateText, exponent).ptr;
            double degrees = 0;
            std::from_chars(candidateText, end, degrees);
            if (accepted(degrees) &&
                (!best || std::fabs(degrees - exact) < std::fabs(*best - exact)))
                best = degrees;
        }
        if (best) {
            // The shortest text of that double has these digits (a shorter one would
            // have been found first) and reads back as the same double.
            char shortest[32];
            const std::to_chars_result done =
                std::to_chars(shortest, shortest + sizeof shortest, *best);
            return (radians < 0 ? "-" : "") + std::string(shortest, done.ptr);
        }
    }
    return std::nullopt;
}

QString jsonValueText(int field, float value)
{
    const std::optional<std::string> text =
        sliderSpec(field).isPosition() ? storedNumberText(value) : degreesNumberText(value);
    return text ? QString::fromStdString(*text) : floatText(value);
}

} // namespace kestrelcam
