#pragma once
// Game values are plain ints, but a typed or loaded value can be anything an
// int holds. Sums that would leave the int range stop at its edge instead.

#include <climits>

inline int clamp_to_int(long long v) {
  return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}
inline int clamped_add(int a, long long b) { return clamp_to_int(a + b); }
inline int clamped_sub(int a, long long b) { return clamp_to_int(a - b); }
