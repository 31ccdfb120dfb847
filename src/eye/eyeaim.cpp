#include "eyeaim.h"

#include "portablemath.h"
#include "slidervalues.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double WheelFactor = 1.1;
constexpr double Degrees = 180 / 3.14159265358979323846;

bool opensPicture(double zoom)
{
    return std::isfinite(zoom) && zoom > 0 && zoom < 180;
}

double tanHalf(double zoom)
{
    return PortableMath::tan(zoom / 2 / Degrees);
}

} // namespace

double eyeFocalLength(double width, double zoom)
{
    return opensPicture(zoom) ? (width / 2) / tanHalf(zoom) : 0;
}

EyeAim aimAfterDrag(const EyeAim &start, double bank, double zoom, QSizeF size, QPointF from,
                    QPointF to)
{
    const double f = eyeFocalLength(size.width(), zoom);
    if (!(f > 0) || !std::isfinite(bank))
        return start;
    const QPointF centre(size.width() / 2, size.height() / 2);
    // A picture offset (u right, v down) turned back by the bank: the offset the same
    // ray has in the picture of the camera before it was rolled.
    const double b = bank / Degrees, c = PortableMath::cos(b), s = PortableMath::sin(b);
    const auto level = [&](QPointF p) {
        const QPointF d = p - centre;
        return QPointF(c * d.x() - s * d.y(), s * d.x() + c * d.y());
    };
    const QPointF a = level(from), e = level(to);
    return {start.yaw + (PortableMath::atan(e.x() / f) - PortableMath::atan(a.x() / f)) * Degrees,
            start.pitch -
                (PortableMath::atan(e.y() / f) - PortableMath::atan(a.y() / f)) * Degrees};
}

double zoomAfterNotches(double zoom, int notches)
{
    if (!opensPicture(zoom))
        return zoom;
    // tan(Zoom / 2) divided by 1.1 for each notch forward, multiplied for each back: by
    // 1.1^|notches| formed by squaring, the same bits everywhere.
    double power = 1, factor = WheelFactor;
    for (unsigned n = notches < 0 ? 0u - unsigned(notches) : unsigned(notches); n != 0; n >>= 1) {
        if (n & 1)
            power *= factor;
        factor *= factor;
    }
    const double turned = notches > 0 ? tanHalf(zoom) / power : tanHalf(zoom) * power;
    // Far out, the arctangent rounds to pi / 2 and the zoom to 180, which opens no
    // picture: the widest is the double below it.
    return std::min(2 * PortableMath::atan(turned) * Degrees, std::nextafter(180.0, 0.0));
}

int zoomPositionAfterNotches(int position, int notches, int minimum, int maximum)
{
    if (notches == 0)
        return position;
    const double zoom = double(position) / PositionsPerDegree;
    double target = roundHalfEven(zoomAfterNotches(zoom, notches) * PositionsPerDegree);
    // Forward narrows (fewer positions), back widens.
    if (notches > 0)
        target = std::min(target, double(position) - 1);
    else
        target = std::max(target, double(position) + 1);
    return int(std::clamp(target, double(minimum), double(maximum)));
}
