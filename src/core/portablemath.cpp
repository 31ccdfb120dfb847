#include "portablemath.h"

#include <cmath>

namespace PortableMath {
namespace {

// pi / 2 in three parts: the first two of 33 bits, so that k times either is exact
// for |k| < 2^20; the third the next 53 bits.
constexpr double HalfPi1 = 0x1.921fb544p+0;
constexpr double HalfPi2 = 0x1.0b4611a6p-34;
constexpr double HalfPi3 = 0x1.3198a2e037073p-69;
constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double QuarterPi = 0x1.921fb54442d18p-1;
constexpr double TwoPi = 0x1.921fb54442d18p+2;
constexpr double ExactReach = 0x1p19;

// A value reduced to |y| <= about pi / 4 as the sum hi + lo, and the quarter turns
// taken off it.
struct Reduced
{
    double hi, lo;
    int quarter; // 0 to 3
};

// a + b as a rounded sum and its exact error.
void twoSum(double a, double b, double *sum, double *error)
{
    const double s = a + b, bb = s - a;
    *sum = s;
    *error = (a - (s - bb)) + (b - bb);
}

Reduced reduce(double x)
{
    if (std::abs(x) <= QuarterPi)
        return {x, 0, 0};
    if (std::abs(x) > ExactReach)
        x = std::fmod(x, TwoPi); // exact, so the same everywhere
    const double k = std::floor(x * TwoOverPi + 0.5);
    // x - k pi/2: the first part is taken off exactly, the rest in two parts with
    // the error of each subtraction kept.
    const double a = x - k * HalfPi1;
    double hi, lo;
    twoSum(a, -(k * HalfPi2), &hi, &lo);
    lo -= k * HalfPi3;
    const double y = hi + lo;
    const int quarter = int(static_cast<long long>(k) & 3);
    return {y, lo - (y - hi), quarter};
}

// Taylor coefficients: 1/n! with alternating signs, as near as a double holds them.
// Up to |y| = pi / 4 the first term left out is below 1e-24 of the result.
constexpr double S[] = {-0x1.5555555555555p-3,  0x1.1111111111111p-7,   -0x1.a01a01a01a01ap-13,
                        0x1.71de3a556c734p-19,  -0x1.ae64567f544e4p-26, 0x1.6124613a86d09p-33,
                        -0x1.ae7f3e733b81fp-41, 0x1.952c77030ad4ap-49,  -0x1.2f49b46814157p-57,
                        0x1.71b8ef6dcf572p-66};
constexpr double C[] = {0x1.5555555555555p-5,   -0x1.6c16c16c16c17p-10, 0x1.a01a01a01a01ap-16,
                        -0x1.27e4fb7789f5cp-22, 0x1.1eed8eff8d898p-29,  -0x1.93974a8c07c9dp-37,
                        0x1.ae7f3e733b81fp-45,  -0x1.6827863b97d97p-53, 0x1.e542ba4020225p-62};

// sin(hi + lo) for |hi| <= about pi / 4, lo below half a unit in hi's last place.
double sinKernel(double hi, double lo)
{
    const double z = hi * hi, v = z * hi;
    double r = S[9];
    for (int i = 8; i >= 1; --i)
        r = S[i] + z * r;
    // hi + v S1 + v z r, with lo's share: lo cos(hi), about lo (1 - z / 2).
    return hi - ((z * (0.5 * lo - v * r) - lo) - v * S[0]);
}

// cos(hi + lo) for |hi| <= about pi / 4.
double cosKernel(double hi, double lo)
{
    const double z = hi * hi;
    double r = C[8];
    for (int i = 7; i >= 0; --i)
        r = C[i] + z * r;
    r *= z;
    // 1 - z / 2 + z r - hi lo, with the first subtraction's error kept.
    const double half = 0.5 * z, w = 1 - half;
    return w + (((1 - w) - half) + (z * r - hi * lo));
}

// sin(y + quarter pi / 2).
double turnedSine(const Reduced &y, int quarter)
{
    switch (quarter % 4) {
    case 0:
        return sinKernel(y.hi, y.lo);
    case 1:
        return cosKernel(y.hi, y.lo);
    case 2:
        return -sinKernel(y.hi, y.lo);
    default:
        return -cosKernel(y.hi, y.lo);
    }
}

// atan(k / 8) for k = 0 to 8, each as the double nearest it and the rest.
constexpr double AtanHi[] = {0,
                             0x1.fd5ba9aac2f6ep-4,
                             0x1.f5b75f92c80ddp-3,
                             0x1.6f61941e4def1p-2,
                             0x1.dac670561bb4fp-2,
                             0x1.1e00babdefeb4p-1,
                             0x1.4978fa3269ee1p-1,
                             0x1.700a7c5784634p-1,
                             0x1.921fb54442d18p-1};
constexpr double AtanLo[] = {0,
                             -0x1.cd37686760c17p-59,
                             0x1.8ab6e3cf7afbdp-57,
                             -0x1.c63aae6f6e918p-56,
                             0x1.a2b7f222f65e2p-56,
                             -0x1.928df287a668fp-58,
                             0x1.2419a87f2a458p-56,
                             -0x1.8c34d25aadef6p-56,
                             0x1.1a62633145c07p-55};
constexpr double HalfPiHi = 0x1.921fb54442d18p+0, HalfPiLo = 0x1.1a62633145c07p-54;
// The series of atan t: t (1 - t^2 / 3 + t^4 / 5 - ...), to t^23 / 23; for |t| <= 1/16
// the first term left out is below 1e-28 of the result.
constexpr double A[] = {-0x1.5555555555555p-2, 0x1.999999999999ap-3,  -0x1.2492492492492p-3,
                        0x1.c71c71c71c71cp-4,  -0x1.745d1745d1746p-4, 0x1.3b13b13b13b14p-4,
                        -0x1.1111111111111p-4, 0x1.e1e1e1e1e1e1ep-5,  -0x1.af286bca1af28p-5,
                        0x1.8618618618618p-5,  -0x1.642c8590b2164p-5};

// atan a for 0 <= a <= 1: atan(k / 8) for the nearest eighth, plus atan t of what is
// left, t = (a - k/8) / (1 + a k/8), |t| <= 1/16.
double atanUpToOne(double a)
{
    const int k = int(std::floor(a * 8 + 0.5));
    const double c = k / 8.0;
    const double t = (a - c) / (1 + a * c), z = t * t;
    double r = A[10];
    for (int i = 9; i >= 0; --i)
        r = A[i] + z * r;
    return AtanHi[k] + (AtanLo[k] + (t + t * z * r));
}

} // namespace

double sin(double x)
{
    if (!std::isfinite(x))
        return x - x;
    const Reduced y = reduce(x);
    return turnedSine(y, y.quarter);
}

double cos(double x)
{
    if (!std::isfinite(x))
        return x - x;
    // cos x = sin(x + pi / 2): one more quarter turn.
    const Reduced y = reduce(x);
    return turnedSine(y, y.quarter + 1);
}

double tan(double x)
{
    if (!std::isfinite(x))
        return x - x;
    const Reduced y = reduce(x);
    const double s = sinKernel(y.hi, y.lo), c = cosKernel(y.hi, y.lo);
    return y.quarter % 2 == 0 ? s / c : -c / s;
}

double atan(double x)
{
    if (std::isnan(x))
        return x;
    const double a = std::abs(x);
    // Beyond 1, atan a = pi / 2 - atan(1 / a).
    const double angle = a <= 1 ? atanUpToOne(a) : HalfPiHi - (atanUpToOne(1 / a) - HalfPiLo);
    return x < 0 || (x == 0 && std::signbit(x)) ? -angle : angle;
}

} // namespace PortableMath
