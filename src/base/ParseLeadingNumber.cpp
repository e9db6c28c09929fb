// Leading-number parsing for value texts.
#include "base/ParseLeadingNumber.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseLeadingNumber(const char* text, double& value) {
  if (!text) return false;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Only plain decimal forms: no "inf", "nan" or hex digits.
  if (!(IsDigit(*p) || (*p == '.' && IsDigit(p[1])))) return false;

  // The digits are handed to strtod without a decimal point (the one character that depends on
  // the locale), the point moved into the exponent: strtod rounds correctly and so stays exact.
  // 800 significant digits decide the rounding of any double; a non-zero digit beyond them is kept
  // as a final 1 so that a value just above a halfway point still rounds up.
  constexpr int kMaxDigits = 800;
  char digits[kMaxDigits + 2 + 24];
  int n = 0;
  long exponent = 0;
  bool dropped = false;
  bool seenPoint = false;
  for (;; ++p) {
    if (*p == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!IsDigit(*p)) break;
    if (n == 0 && *p == '0') {
      if (seenPoint) --exponent;
      continue;
    }
    if (n < kMaxDigits) {
      digits[n++] = *p;
      if (seenPoint) --exponent;
    } else {
      dropped = dropped || *p != '0';
      if (!seenPoint) ++exponent;
    }
  }
  if (*p == 'e' || *p == 'E') {
    const char* e = p + 1;
    const bool negExp = *e == '-';
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      long x = 0;
      for (; IsDigit(*e); ++e) x = x < 100000 ? x * 10 + (*e - '0') : x;  // far beyond any double
      exponent += negExp ? -x : x;
    }
  }
  double v = 0.0;
  if (n > 0) {
    if (dropped) {
      digits[n++] = '1';
      --exponent;
    }
    std::snprintf(digits + n, sizeof digits - n, "e%ld", exponent);
    v = std::strtod(digits, nullptr);
  }
  if (!std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}
