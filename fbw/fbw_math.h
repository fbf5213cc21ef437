// The double-precision sine, cosine and arc cosine the drawing primitives use.
#pragma once

// Both of one angle, from one reduction; the same bits as FbwSin and FbwCos.
void FbwSinCos(double x, double* sine, double* cosine);
double FbwSin(double x);
double FbwCos(double x);
double FbwAcos(double x);
