// Numerics.h: the rounding rules the math classes share.
//
// Records hold single-precision floats; arithmetic runs in double precision on
// the stored values and each stored result is rounded to single precision
// once. Lengths are "single-precision lengths": the sum of squares rounded to
// single precision, its square root taken in double precision and rounded
// again, so that the value a script reads back from Length is the very value
// the Length setter compares against.
#pragma once

#include <cmath>
#include <optional>

namespace du3v {

inline float Single(double value) { return static_cast<float>(value); }

inline float SingleLength(double sumOfSquares) { return Single(std::sqrt(static_cast<double>(Single(sumOfSquares)))); }

// The factor (rounded to single precision) that takes a record of
// single-precision length `length` to the length `target`, or nothing when the
// record must stay as it is: a zero or not-a-number length has no direction
// to scale, a length already equal to the target needs no change, and a
// length or factor that is not finite would turn every component into an
// infinity or not-a-number (or zero a vector whose squared length overflowed
// single precision).
inline std::optional<float> ScaleToLengthFactor(float length, double target) {
  if (!(length > 0.0f) || !std::isfinite(length)) return std::nullopt;
  if (static_cast<double>(length) == target) return std::nullopt;
  const float factor = Single(target / length);
  if (!std::isfinite(factor)) return std::nullopt;
  return factor;
}

} // namespace du3v
