// Saturating conversions for numbers that come from map files or the property panel: any
// size or sign narrows to the nearest value the target type holds, never past it.
#pragma once

#include <cstdint>

// Truncation toward zero; beyond int32's range the nearest end, NaN 0.
inline int32_t truncateToInt(double v) {
  if (v != v) return 0;
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(v);
}

// SDL rectangles keep positions in 16 signed bits and sizes in 16 unsigned bits.
inline int16_t toSint16(int64_t v) {
  return static_cast<int16_t>(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}
inline uint16_t toUint16(int64_t v) {
  return static_cast<uint16_t>(v < 0 ? 0 : v > UINT16_MAX ? UINT16_MAX : v);
}
