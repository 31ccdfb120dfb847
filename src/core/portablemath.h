#pragma once

// Sine, cosine, tangent and arctangent that give the same bits on every system. The C library's
// are the system's own (glibc, the Windows runtime, Wine's) and differ from one
// another in the last bit or two, some by far more near multiples of pi, which moves
// the edge of a drawn face or line across a pixel's sample point now and then. These
// use only additions, multiplications and divisions, each rounded as IEEE 754 says,
// in a fixed order: for arguments within 2^19 radians, sine and cosine within a unit
// in the last place of the exact value, the tangent within two. Larger arguments,
// which no slider holds, are first taken modulo the double nearest 2 pi: the same
// bits everywhere, though no longer close to the exact value. Not finite: NaN. The
// arctangent is within two units for every argument.
namespace PortableMath {

double sin(double x);
double cos(double x);
double tan(double x);
double atan(double x);

} // namespace PortableMath
