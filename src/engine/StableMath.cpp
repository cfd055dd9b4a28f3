#include "engine/StableMath.h"

#include <cstdint>
#include <cstring>

namespace
{

// ln 2 and pi / 2 split so that n times the high part is exact for the
// multiples the reductions meet.
constexpr double kLn2Hi = 6.93147180369123816490e-01;
constexpr double kLn2Lo = 1.90821492927058770002e-10;
constexpr double kInvLn2 = 1.44269504088896338700e+00;
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Mid = 6.07710050630396597660e-11;
constexpr double kPio2Lo = 2.02226624879595063154e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kLn10 = 2.30258509299404568402e+00;
constexpr double kSqrtHalf = 7.07106781186547524401e-01;

double FromBits(uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint64_t ToBits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The nearest integer, halves away from zero; |x| < 2^52.
double RoundHalfAway(double x)
{
    const double shifted = x < 0.0 ? x - 0.5 : x + 0.5;
    return static_cast<double>(static_cast<int64_t>(shifted));
}

// 2^n for -1022 <= n <= 1023.
double PowerOfTwo(int64_t n)
{
    return FromBits(static_cast<uint64_t>(n + 1023) << 52);
}

// sin r and cos r for |r| <= pi / 4 by their Taylor series, written in
// Horner form; the first omitted terms are below 1e-17.
double SinKernel(double r)
{
    const double z = r * r;
    return r + r * z *
                   (-1.0 / 6 +
                    z * (1.0 / 120 +
                         z * (-1.0 / 5040 +
                              z * (1.0 / 362880 + z * (-1.0 / 39916800 +
                                                       z * (1.0 / 6227020800 + z * (-1.0 / 1307674368000 +
                                                                                    z * (1.0 / 355687428096000))))))));
}

double CosKernel(double r)
{
    const double z = r * r;
    return 1.0 +
           z * (-0.5 + z * (1.0 / 24 +
                            z * (-1.0 / 720 +
                                 z * (1.0 / 40320 + z * (-1.0 / 3628800 +
                                                         z * (1.0 / 479001600 + z * (-1.0 / 87178291200 +
                                                                                     z * (1.0 / 20922789888000))))))));
}

// Sine of x shifted by quarter turns.
double SinQuadrants(double x, int64_t quarters)
{
    const double k = RoundHalfAway(x * kTwoOverPi);
    const double r = ((x - k * kPio2Hi) - k * kPio2Mid) - k * kPio2Lo;
    switch ((static_cast<int64_t>(k) + quarters) & 3)
    {
    case 0:
        return SinKernel(r);
    case 1:
        return CosKernel(r);
    case 2:
        return -SinKernel(r);
    default:
        return -CosKernel(r);
    }
}

}  // namespace

double StableExp(double x)
{
    if (!(x > -708.0))
        return x == x ? 0.0 : x;
    if (x > 709.0)
        return FromBits(0x7FEFFFFFFFFFFFFFull);
    // x = n ln 2 + r with |r| <= ln 2 / 2; e^r by Taylor to the 13th power.
    const double n = RoundHalfAway(x * kInvLn2);
    const double r = (x - n * kLn2Hi) - n * kLn2Lo;
    const double sum =
        1.0 +
        r * (1.0 +
             r * (1.0 / 2 +
                  r * (1.0 / 6 +
                       r * (1.0 / 24 +
                            r * (1.0 / 120 +
                                 r * (1.0 / 720 +
                                      r * (1.0 / 5040 +
                                           r * (1.0 / 40320 +
                                                r * (1.0 / 362880 +
                                                     r * (1.0 / 3628800 +
                                                          r * (1.0 / 39916800 + r * (1.0 / 479001600 +
                                                                                     r * (1.0 / 6227020800)))))))))))));
    return sum * PowerOfTwo(static_cast<int64_t>(n));
}

double StableLog(double x)
{
    if (!(x > 0.0))
        return x == x ? -1e308 : x;
    if (x > 1.7976931348623157e308)
        return x;
    // x = m 2^e with sqrt(1/2) <= m < sqrt(2); log m = 2 atanh(s).
    uint64_t bits = ToBits(x);
    int64_t e = static_cast<int64_t>(bits >> 52) - 1023;
    if (e == -1023)  // subnormal: scale into the normal range first
    {
        bits = ToBits(x * PowerOfTwo(54));
        e = static_cast<int64_t>(bits >> 52) - 1023 - 54;
    }
    double m = FromBits((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
    if (m >= 2.0 * kSqrtHalf)
    {
        m *= 0.5;
        ++e;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double z = s * s;
    const double sum =
        z * (1.0 / 3 +
             z * (1.0 / 5 +
                  z * (1.0 / 7 +
                       z * (1.0 / 9 +
                            z * (1.0 / 11 +
                                 z * (1.0 / 13 +
                                      z * (1.0 / 15 +
                                           z * (1.0 / 17 + z * (1.0 / 19 + z * (1.0 / 21 + z * (1.0 / 23)))))))))));
    const double logM = 2.0 * s + 2.0 * s * sum;
    return static_cast<double>(e) * kLn2Hi + (static_cast<double>(e) * kLn2Lo + logM);
}

double StableSin(double x)
{
    return SinQuadrants(x, 0);
}

double StableCos(double x)
{
    return SinQuadrants(x, 1);
}

double StablePow10(double x)
{
    return StableExp(x * kLn10);
}
