// Sine, cosine and arc cosine built only from IEEE double additions, multiplications,
// divisions and square roots, in a fixed order. The platforms' math libraries may round the
// last bit differently, and a truncated pixel coordinate can depend on that bit; with these
// every target computes the same bits, so both builds draw the same pixels.
//
// Method: sine and cosine reduce the argument by the nearest multiple of pi/2 (pi/2 held in
// three 33-bit parts, so the products are exact and the reduced argument keeps its precision
// near multiples of pi/2), then sum their Taylor series over |r| <= pi/4, truncated where the
// next term is far below half an ulp. The arc cosine uses acos(x) = pi/2 - asin(x) for
// |x| <= 1/2 and acos(x) = 2 asin(sqrt((1 - x) / 2)) (or pi minus that for negative x)
// otherwise, with the arc sine's series, where its argument is at most 1/2. Errors stay within
// about one ulp of the true values.
#include "fbw_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// pi/2 = pio2First + pio2Second + pio2Third + (less than 1e-31); each part has 33 bits.
const double pio2First = 0x1.921fb544p+0;
const double pio2Second = 0x1.0b4611a6p-34;
const double pio2Third = 0x1.3198a2ep-69;
const double twoOverPi = 0x1.45f306dc9c883p-1;
// pi/2 = pio2High + pio2Low, the high part the double nearest to pi/2.
const double pio2High = 0x1.921fb54442d18p+0;
const double pio2Low = 0x1.1a62633145c07p-54;

// Beyond this the reduction's multiple of pi/2 would no longer be exact.
const double reductionLimit = 1048576.0 * 1.5707963267948966;

// sin(r) = r + r^3 (sineTerms[0] + r^2 sineTerms[1] + ...): (-1)^k / (2k+1)!, k = 1..9; the
// first term left out is below 10^-19 of r for |r| <= pi/4.
const double sineTerms[] = {-0.16666666666666666,   0.008333333333333333,   -0.0001984126984126984,
                            2.7557319223985893e-06, -2.505210838544172e-08, 1.6059043836821613e-10,
                            -7.647163731819816e-13, 2.8114572543455206e-15, -8.22063524662433e-18};
// cos(r) = 1 - r^2/2 + r^4 (cosineTerms[0] + r^2 cosineTerms[1] + ...): (-1)^k / (2k)!,
// k = 2..10; the first term left out is below 10^-20 for |r| <= pi/4.
const double cosineTerms[] = {
    0.041666666666666664,   -0.001388888888888889,   2.48015873015873e-05,
    -2.755731922398589e-07, 2.08767569878681e-09,    -1.1470745597729725e-11,
    4.779477332387385e-14,  -1.5619206968586225e-16, 4.110317623312165e-19};
// asin(t) = t + t z (arcSineTerms[0] + z arcSineTerms[1] + ...), z = t^2:
// (2n)! / (4^n (n!)^2 (2n+1)), n = 1..26; for |t| <= 1/2 the rest is below 2^-60 of t.
const double arcSineTerms[] = {0.16666666666666666,   0.075,
                               0.044642857142857144,  0.030381944444444444,
                               0.022372159090909092,  0.017352764423076924,
                               0.01396484375,         0.011551800896139705,
                               0.009761609529194078,  0.008390335809616815,
                               0.0073125258735988454, 0.006447210311889649,
                               0.005740037670841924,  0.005153309682319905,
                               0.004660143486915096,  0.004240907093679363,
                               0.003880964558837669,  0.0035692053938259347,
                               0.003297059503473485,  0.0030578216492580306,
                               0.002846178401108942,  0.00265787063820729,
                               0.0024894486782468836, 0.002338091892111975,
                               0.0022014739737101384, 0.0020776610325181676};

// terms[0] + z terms[1] + z^2 terms[2] + ..., summed pairwise (c0 + z c1) + z^2 (c2 + z c3) + ...
// and so on with z^2, z^4, ...: the same terms as a Horner sum but with short chains of
// dependent operations, so a long series costs little more than a short one.
template <size_t n> double Series(const double* terms, double z) {
    if constexpr (n == 1) {
        return terms[0];
    } else {
        double pairs[(n + 1) / 2];
        for (size_t j = 0; j < n / 2; ++j) {
            pairs[j] = terms[2 * j] + z * terms[2 * j + 1];
        }
        if constexpr (n % 2 == 1) {
            pairs[n / 2] = terms[n - 1];
        }
        return Series<(n + 1) / 2>(pairs, z * z);
    }
}

template <size_t n> double Series(const double (&terms)[n], double z) {
    return Series<n>(static_cast<const double*>(terms), z);
}

// sin(r) for |r| <= about pi/4.
double SineNear(double r) {
    const double z = r * r;
    return r + r * z * Series(sineTerms, z);
}

// cos(r) for |r| <= about pi/4. 1 - r^2/2 is formed with its rounding error recovered.
double CosineNear(double r) {
    const double z = r * r;
    const double half = 0.5 * z;
    const double w = 1.0 - half;
    return w + (((1.0 - w) - half) + z * z * Series(cosineTerms, z));
}

// x = quarter * pi/2 + r with |r| <= about pi/4; quarter is returned modulo 4. The multiple is
// rounded half away from zero, so that -x reduces to exactly -r: sin(-x) = -sin(x) bit for bit.
int Reduce(double x, double* r) {
    const double scaled = x * twoOverPi;
    const int64_t whole = static_cast<int64_t>(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    const double quarters = static_cast<double>(whole);
    *r = ((x - quarters * pio2First) - quarters * pio2Second) - quarters * pio2Third;
    return static_cast<int>(whole & 3); // two's complement: the residue modulo 4
}

// asin(t) - t for |t| <= 1/2, as t times a series in t^2.
double ArcSineRest(double t, double z) {
    return t * (z * Series(arcSineTerms, z));
}

// The high half of a double's bits: its square is exact.
double HighHalf(double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits &= 0xFFFFFFFF00000000ull;
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

} // namespace

void FbwSinCos(double x, double* sine, double* cosine) {
    if (!(std::fabs(x) <= reductionLimit)) {
        *sine = std::sin(x); // NaN, infinities and arguments no drawing reaches
        *cosine = std::cos(x);
        return;
    }
    double r = 0.0;
    const int quarter = Reduce(x, &r);
    const double s = SineNear(r);
    const double c = CosineNear(r);
    switch (quarter) {
    case 0:
        *sine = s;
        *cosine = c;
        break;
    case 1:
        *sine = c;
        *cosine = -s;
        break;
    case 2:
        *sine = -s;
        *cosine = -c;
        break;
    default:
        *sine = -c;
        *cosine = s;
        break;
    }
}

double FbwSin(double x) {
    double sine = 0.0, cosine = 0.0;
    FbwSinCos(x, &sine, &cosine);
    return sine;
}

double FbwCos(double x) {
    double sine = 0.0, cosine = 0.0;
    FbwSinCos(x, &sine, &cosine);
    return cosine;
}

double FbwAcos(double x) {
    if (!(x >= -1.0 && x <= 1.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (x == 1.0) {
        return 0.0;
    }
    if (std::fabs(x) <= 0.5) {
        // pi/2 - asin(x), with the low part of pi/2 added before the high part.
        return pio2High - (x - (pio2Low - ArcSineRest(x, x * x)));
    }
    // 2 asin(s), s = sqrt(z): s is split into a short high part, whose square is exact, and
    // the rest, recovered from z, so that the rounding of the square root does not double.
    const double z = (x > 0.0 ? 1.0 - x : 1.0 + x) * 0.5; // exact
    const double s = std::sqrt(z);
    if (x < 0.0) {
        return 2.0 * (pio2High - (s + (ArcSineRest(s, z) - pio2Low)));
    }
    const double high = HighHalf(s);
    const double correction = (z - high * high) / (s + high);
    return 2.0 * (high + (correction + ArcSineRest(s, z)));
}
