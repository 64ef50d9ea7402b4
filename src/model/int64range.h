#pragma once

namespace heliora {

/// 2^63: the smallest double beyond the range of a signed 64-bit integer.
inline constexpr double int64Bound = 9223372036854775808.0;

/// True when the double converts to a signed 64-bit integer without overflow: false for values at or beyond
/// ±2^63, for infinities and for NaN (converting those is undefined behaviour).
constexpr bool fitsInt64(double value) { return value > -int64Bound && value < int64Bound; }

} // namespace heliora
