// The double-precision sine, cosine and arc cosine the drawing primitives use.
#pragma once

double FbwSin(double x);
double FbwCos(double x);
double FbwAcos(double x);
