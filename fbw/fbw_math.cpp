// The sine, cosine and arc cosine of the drawing primitives.
#include <cmath>

#include "fbw_math.h"

double FbwSin(double x) {
    return std::sin(x);
}

double FbwCos(double x) {
    return std::cos(x);
}

double FbwAcos(double x) {
    return std::acos(x);
}
