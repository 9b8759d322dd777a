// Number conversions that a wild map value cannot overflow.
#pragma once

#include <cstdint>

// Truncation toward zero that saturates instead of overflowing on a wild value.
inline int truncateToInt(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int>(v);
}
