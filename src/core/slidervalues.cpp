#include "slidervalues.h"

#include "modcameramath.h"

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cfenv>
#include <charconv>
#include <cmath>

namespace {

// The power of ten of the first significant digit of a numeric text (for "0.05",
// -2; for "120e3", 5), or nullopt when every digit is zero. The exponent saturates,
// so no text can overflow the count.
std::optional<long long> decimalMagnitude(const QByteArray &text)
{
    constexpr long long Limit = 1'000'000'000'000LL;
    const qsizetype ePos = std::max(text.indexOf('e'), text.indexOf('E'));
    const QByteArray mantissa = ePos < 0 ? text : text.left(ePos);
    long long exponent = 0;
    if (ePos >= 0) {
        const QByteArray digits = text.mid(ePos + 1);
        const bool negative = digits.startsWith('-');
        for (const char c : digits) {
            if (c >= '0' && c <= '9')
                exponent = std::min(Limit, exponent * 10 + (c - '0'));
        }
        if (negative)
            exponent = -exponent;
    }

    const qsizetype point = mantissa.indexOf('.');
    const QByteArray integerPart = point < 0 ? mantissa : mantissa.left(point);
    const QByteArray fractionPart = point < 0 ? QByteArray() : mantissa.mid(point + 1);
    long long integerDigits = 0;
    long long firstSignificant = -1; // digits of the integer part before it
    for (const char c : integerPart) {
        if (c < '0' || c > '9')
            continue;
        if (c != '0' && firstSignificant < 0)
            firstSignificant = integerDigits;
        ++integerDigits;
    }
    if (firstSignificant >= 0)
        return integerDigits - 1 - firstSignificant + exponent;
    for (qsizetype i = 0; i < fractionPart.size(); ++i) {
        if (fractionPart[i] != '0')
            return -static_cast<long long>(i) - 1 + exponent;
    }
    return std::nullopt;
}

constexpr const char *MetresPrompt = "Enter a value between -120 and 120";
constexpr const char *ZPrompt = "Enter a value between -0.4 and 120";
constexpr const char *DegreesPrompt = "Enter a value between -180 and 180";
constexpr const char *MetresTitle = "Value in Meters";
constexpr const char *DegreesTitle = "Value in Degrees";
constexpr const char *MetresNotNumeric = "Entered Value must be numeric";
constexpr const char *DegreesNotNumeric = "Entered value must be numeric";

const std::array<SliderSpec, SliderCount> specs = {{
    {"X", 250, -30000, 30000, 10, 0, "0.0", -120, 120, MetresPrompt, MetresTitle, MetresNotNumeric},
    {"Y", 250, -30000, 30000, 10, 0, "0.0", -120, 120, MetresPrompt, MetresTitle, MetresNotNumeric},
    {"Z", 250, -100, 30000, 10, 0, "0.0", -0.4, 120, ZPrompt, MetresTitle, MetresNotNumeric},
    {"Yaw", 100, -18100, 18100, 100, 0, "0.0", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
    {"Pitch", 100, -18100, 18100, 100, 0, "0.0", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
    {"Bank", 100, -18100, 18100, 100, 0, "0.0", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
    {"Zoom Angle", 100, 0, 18000, 100, 4000, "0.0", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
    {"Unknown 1", 100, -30000, 30000, 100, 0, "0.0", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
    {"Unknown 2", 100, -30000, 30000, 100, -7160, "-7.16", -180, 180, DegreesPrompt, DegreesTitle,
     DegreesNotNumeric},
}};

} // namespace

const SliderSpec &sliderSpec(int index)
{
    return specs.at(static_cast<std::size_t>(index));
}

QString valueAccessibleName(int index)
{
    const SliderSpec &info = sliderSpec(index);
    return QStringLiteral("%1, %2").arg(QLatin1String(info.caption),
                                        info.isPosition() ? QStringLiteral("metres")
                                                          : QStringLiteral("degrees"));
}

QString displayAccessibleName(int index, const QString &shown)
{
    return valueAccessibleName(index) + QStringLiteral(": ") + shown;
}

double roundHalfEven(double value)
{
    // nearbyint rounds in the current mode, which is round-to-nearest-even unless
    // someone changed it; say so explicitly rather than rely on it.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded;
}

double roundToSignificantDigits(double value, int digits)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    // Qt's conversions ignore the C locale, which the application sets from the user's.
    return QByteArray::number(value, 'e', digits - 1).toDouble();
}

double sliderSteps(int index, float fieldValue)
{
    const SliderSpec &info = sliderSpec(index);
    if (info.isPosition())
        return roundHalfEven(static_cast<double>(fieldValue) * info.scale);
    const double degrees = modCameraMath::RadiansToDegrees(fieldValue);
    return roundHalfEven(roundToSignificantDigits(degrees * info.scale));
}

int positionForField(int index, float fieldValue)
{
    const SliderSpec &info = sliderSpec(index);
    if (std::isnan(fieldValue))
        return 0;
    const double steps = sliderSteps(index, fieldValue);
    if (steps < info.minimum)
        return info.minimum;
    if (steps > info.maximum)
        return info.maximum;
    return static_cast<int>(steps);
}

float fieldForPosition(int index, int position)
{
    const SliderSpec &info = sliderSpec(index);
    if (info.isPosition())
        return static_cast<float>(static_cast<double>(position) / info.scale);
    const float degrees = static_cast<float>(static_cast<double>(position) / info.scale);
    return static_cast<float>(modCameraMath::DegreesToRadians(degrees));
}

double sliderValue(int index, int position)
{
    return static_cast<double>(position) / sliderSpec(index).scale;
}

int pointedPosition(int index, double value)
{
    const SliderSpec &info = sliderSpec(index);
    if (std::isnan(value)) // no press or aim gives one; never let it reach the conversion
        value = 0;
    const double position = roundHalfEven(value * info.scale);
    // Kept within the slider's range, so no press can overflow a position.
    return int(std::clamp(position, double(info.minimum), double(info.maximum)));
}

QString formatPlainDecimal(double value, QChar decimalPoint)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? QStringLiteral("0") : QString::number(value);

    // Round to 15 significant digits, then lay the digits out without an exponent.
    const QString text = QString::number(value, 'e', 14);
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    const bool negative = text.startsWith(QLatin1Char('-'));
    QString digits = text.left(ePos);
    digits.remove(QLatin1Char('-'));
    digits.remove(QLatin1Char('.'));
    const int exponent = text.mid(ePos + 1).toInt();

    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString integerPart;
    QString fractionPart;
    if (exponent >= 0) {
        const qsizetype integerDigits = exponent + 1;
        if (digits.size() <= integerDigits) {
            integerPart = digits + QString(integerDigits - digits.size(), QLatin1Char('0'));
        } else {
            integerPart = digits.left(integerDigits);
            fractionPart = digits.mid(integerDigits);
        }
    } else {
        integerPart = QStringLiteral("0");
        fractionPart = QString(-exponent - 1, QLatin1Char('0')) + digits;
    }

    QString result;
    if (negative)
        result += QLatin1Char('-');
    result += integerPart;
    if (!fractionPart.isEmpty())
        result += decimalPoint + fractionPart;
    return result;
}

std::optional<double> parseTypedNumber(const QString &text, QChar localeDecimalPoint)
{
    QString trimmed = text.trimmed();
    if (localeDecimalPoint != QLatin1Char('.') && !trimmed.contains(QLatin1Char('.')))
        trimmed.replace(localeDecimalPoint, QLatin1Char('.'));

    static const QRegularExpression numeric(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!numeric.match(trimmed).hasMatch())
        return std::nullopt;

    // from_chars ignores the C locale, which the application sets from the user's.
    QByteArray latin = trimmed.toLatin1();
    if (latin.startsWith('+'))
        latin.remove(0, 1);
    double value = 0;
    const auto [end, error] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    Q_UNUSED(end);
    if (error == std::errc::result_out_of_range) {
        // Numeric, but beyond a double: as good as zero when its first significant
        // digit stands after the point, as good as infinite otherwise.
        const std::optional<long long> magnitude = decimalMagnitude(latin);
        const bool tiny = !magnitude || *magnitude < 0;
        const bool negative = latin.startsWith('-');
        value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

TypedEntryResult evaluateTypedEntry(int index, const QString &text, QChar localeDecimalPoint)
{
    if (text.isEmpty())
        return {TypedEntryResult::Empty};
    const std::optional<double> value = parseTypedNumber(text, localeDecimalPoint);
    if (!value)
        return {TypedEntryResult::NotNumeric};

    const SliderSpec &info = sliderSpec(index);
    if (!(*value >= info.typedMinimum && *value <= info.typedMaximum))
        return {TypedEntryResult::OutOfRange};
    const double position = roundHalfEven(*value * info.scale);
    if (position < info.minimum || position > info.maximum)
        return {TypedEntryResult::OutOfRange};
    return {TypedEntryResult::Accepted, static_cast<int>(position)};
}
