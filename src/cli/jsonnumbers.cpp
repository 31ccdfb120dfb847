#include "jsonnumbers.h"

#include "camerarecord.h"
#include "slidervalues.h"
#include "valuetext.h"

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
    Decimal decimal;
    decimal.negative = text.starts_with('-');
    const std::size_t e = std::min(text.find_first_of("eE"), text.size());
    long long exponent = 0; // beyond a billion, only its sign matters
    for (const char c : text.substr(e)) {
        if (c >= '0' && c <= '9')
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    }
    if (text.substr(e).starts_with("e-") || text.substr(e).starts_with("E-"))
        exponent = -exponent;
    long long fractionDigits = 0;
    bool afterPoint = false;
    for (const char c : text.substr(0, e)) {
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            fractionDigits += afterPoint;
            if (c != '0' || !decimal.digits.empty())
                decimal.digits += c;
        }
    }
    decimal.power = exponent - fractionDigits;
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
// exponent, whichever is shorter, plainly on a tie; written after `sign`.
std::string decimalText(std::string_view sign, std::uint64_t mantissa, int exponent)
{
    while (mantissa % 10 == 0) {
        mantissa /= 10;
        ++exponent;
    }
    char digits[24];
    const std::string_view all(digits, std::to_chars(digits, digits + sizeof digits, mantissa).ptr);
    const int count = int(all.size());
    std::string plain(sign);
    if (exponent >= 0) {
        plain.append(all).append(std::size_t(exponent), '0');
    } else if (count + exponent > 0) {
        plain.append(all.substr(0, std::size_t(count + exponent)))
            .append(1, '.')
            .append(all.substr(std::size_t(count + exponent)));
    } else {
        plain.append("0.").append(std::size_t(-exponent - count), '0').append(all);
    }
    const int power = exponent + count - 1;
    std::string scientific(sign);
    scientific.append(all.substr(0, 1));
    if (count > 1)
        scientific.append(1, '.').append(all.substr(1));
    scientific.append(power < 0 ? "e-" : "e+").append(std::abs(power) < 10 ? "0" : "");
    scientific.append(std::to_string(std::abs(power)));
    return scientific.size() < plain.size() ? scientific : plain;
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
    const std::string_view sign = radians < 0 ? "-" : "";
    const float magnitude = std::fabs(radians);

    // A value the editor stores for a typed or dragged angle: as it shows it.
    const double hundredths = std::nearbyint(modCameraMath::RadiansToDegrees(magnitude) * 100);
    if (hundredths <= EditorHundredthsLimit &&
        floatBits(fieldForPosition(field, int(hundredths))) == floatBits(magnitude))
        return decimalText(sign, std::uint64_t(hundredths), -2);

    // Any other value: a number off that grid whose double, times the factor and
    // rounded once, gives the value.
    const auto accepted = [magnitude](std::uint64_t mantissa, int exponent, double degrees) {
        const std::optional<float> back = radiansFromDegrees(degrees);
        return back && floatBits(*back) == floatBits(magnitude) &&
               !hundredthsOf(decimalOf(std::to_string(mantissa) + 'e' + std::to_string(exponent)));
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
    // when any decimal of that length is accepted, one of these is (the interval
    // holds at most one number of the grid, which is never accepted).
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
        std::optional<std::pair<std::uint64_t, double>> best;
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
            if (accepted(candidate, exponent, degrees) &&
                (!best || std::fabs(degrees - exact) < std::fabs(best->second - exact)))
                best = {candidate, degrees};
        }
        if (best)
            return decimalText(sign, best->first, exponent);
    }
    return std::nullopt;
}

QString jsonValueText(int field, float value)
{
    const std::optional<std::string> text =
        sliderSpec(field).isPosition() ? storedNumberText(value) : degreesNumberText(field, value);
    return text ? QString::fromStdString(*text) : floatText(value);
}

} // namespace kestrelcam
