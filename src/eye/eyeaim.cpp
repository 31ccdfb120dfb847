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
    return {start.yaw + (std::atan(e.x() / f) - std::atan(a.x() / f)) * Degrees,
            start.pitch - (std::atan(e.y() / f) - std::atan(a.y() / f)) * Degrees};
}

double zoomAfterNotches(double zoom, int notches)
{
    if (!opensPicture(zoom))
        return zoom;
    const double turned = tanHalf(zoom) * std::pow(WheelFactor, -double(notches));
    return 2 * std::atan(turned) * Degrees;
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
