// RasterMath.cpp: matrix inversion and the deterministic transcendental
// functions. Only +, -, *, / and the exact frexp/ldexp are used, so every
// target that rounds IEEE doubles the same way gets the same bits.
#include "RasterMath.h"

#include <utility>

namespace q3::raster {

bool invert(const M4 &a, M4 &out) {
  double w[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      w[i][j] = a.m[i][j];
      w[i][j + 4] = i == j ? 1.0 : 0.0;
    }
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(w[r][c]) > std::fabs(w[pivot][c])) pivot = r;
    if (w[pivot][c] == 0.0 || !std::isfinite(w[pivot][c])) return false;
    if (pivot != c)
      for (int j = 0; j < 8; ++j) std::swap(w[c][j], w[pivot][j]);
    const double inv = 1.0 / w[c][c];
    for (int j = 0; j < 8; ++j) w[c][j] *= inv;
    for (int r = 0; r < 4; ++r) {
      if (r == c || w[r][c] == 0.0) continue;
      const double f = w[r][c];
      for (int j = 0; j < 8; ++j) w[r][j] -= f * w[c][j];
    }
  }
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out.m[i][j] = w[i][j + 4];
  return true;
}

M4 normalMatrix(const M4 &a) {
  M4 upper = M4::identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) upper.m[i][j] = a.m[i][j];
  M4 inv;
  if (!invert(upper, inv)) return upper;
  M4 r = M4::identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = inv.m[j][i];
  return r;
}

double detExp(double x) {
  if (x != x) return x;
  if (x > 709.0) return HUGE_VAL;
  if (x < -745.0) return 0.0;
  // x = k ln2 + r with |r| <= ln2 / 2; e^r by its series.
  const double ln2 = 0.6931471805599453094;
  const double k = std::floor(x / ln2 + 0.5);
  const double r = x - k * ln2;
  double term = 1.0, sum = 1.0;
  for (int n = 1; n <= 18; ++n) {
    term *= r / n;
    sum += term;
  }
  return std::ldexp(sum, int(k));
}

double detLog(double x) {
  if (!(x > 0.0)) return x == 0.0 ? -HUGE_VAL : (x - x) / (x - x);
  if (x == HUGE_VAL) return x;
  int e = 0;
  double m = std::frexp(x, &e); // [0.5, 1)
  if (m < 0.70710678118654752440) {
    m *= 2.0;
    --e;
  }
  // log m = 2 atanh s with s = (m - 1) / (m + 1), |s| < 0.172.
  const double s = (m - 1.0) / (m + 1.0), s2 = s * s;
  double term = s, sum = 0.0;
  for (int n = 1; n <= 41; n += 2) {
    sum += term / n;
    term *= s2;
  }
  return 2.0 * sum + e * 0.6931471805599453094;
}

double detPow(double x, double y) {
  if (y == 0.0) return 1.0;
  if (x <= 0.0) return 0.0;
  // Whole exponents (the usual specular controls) by repeated squaring.
  if (y == std::floor(y) && std::fabs(y) <= 1024.0) {
    long n = long(std::fabs(y));
    double base = x, result = 1.0;
    while (n) {
      if (n & 1) result *= base;
      base *= base;
      n >>= 1;
    }
    return y < 0.0 ? 1.0 / result : result;
  }
  return detExp(y * detLog(x));
}

double detTan(double x) {
  const double x2 = x * x;
  double s = 0.0, c = 0.0, termS = x, termC = 1.0;
  for (int n = 0; n < 14; ++n) {
    s += termS;
    c += termC;
    termS *= -x2 / double((2 * n + 2) * (2 * n + 3));
    termC *= -x2 / double((2 * n + 1) * (2 * n + 2));
  }
  return s / c;
}

} // namespace q3::raster
