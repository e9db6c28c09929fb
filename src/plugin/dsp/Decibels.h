// Levels in decibels through the natural logarithm: 20 log10 |x| = ln |x| * kDbPerNeper, and a gain of
// g dB is e^(g * kNeperPerDb). Threads: constants, any thread.
#pragma once

namespace decibels {

// 20 / ln 10.
constexpr double kDbPerNeper = 8.685889638065037;
// ln 10 / 20, to the 13 digits the gain has always been computed with (the full value moves the
// output's last bits).
constexpr double kNeperPerDb = 0.1151292546497;

}  // namespace decibels
