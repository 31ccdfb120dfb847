#include "sliderrange.h"

#include "jsonnumbers.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <cmath>

namespace kestrelcam {

QString sliderRangeText(int field)
{
    const SliderSpec &info = sliderSpec(field);
    return QStringLiteral("%1 to %2 %3")
        .arg(displayText(field, info.minimum), displayText(field, info.maximum), unitName(field));
}

bool sliderHolds(int field, float value)
{
    const SliderSpec &info = sliderSpec(field);
    const double steps = sliderSteps(field, value);
    return steps >= info.minimum && steps <= info.maximum; // false for a NaN
}

QString unheldValueText(int field, float value)
{
    const QString shows =
        QStringLiteral("; the editor shows ") + displayText(field, positionForField(field, value));
    if (std::isnan(value))
        return floatText(value) + QStringLiteral(" is not a number") + shows;
    return QStringLiteral("%1 %2 is beyond the slider's range (%3)")
               .arg(jsonValueText(field, value), unitName(field), sliderRangeText(field)) +
           shows;
}

} // namespace kestrelcam
