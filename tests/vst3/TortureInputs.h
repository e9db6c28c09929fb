// Torture: the random sessions a badly behaved host gives a plug-in (wild sample rates and block
// sizes, hostile samples, parameter ids and values), shared by the VST 3 and CLAP torture tests.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

constexpr uint32_t kBypassId = 0x62706173;
constexpr uint32_t kPresetId = 0x70727374;

class Torture {
 public:
  explicit Torture(unsigned seed) : mRng(seed) {}

  double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(mRng); }
  int Int(int a, int b) { return std::uniform_int_distribution<int>(a, b)(mRng); }
  bool Chance(double p) { return Uniform(0, 1) < p; }

  double SampleRate() {
    static const double common[] = {44100, 48000, 96000, 192000, 1000, 1200000};
    return Chance(0.5) ? common[Int(0, 5)] : std::exp(Uniform(std::log(1000.0), std::log(1200000.0)));
  }
  int MaxBlock() {
    static const int sizes[] = {1, 2, 3, 17, 64, 128, 512, 1000, 2048};
    return sizes[Int(0, 8)];
  }
  int Frames(int maxBlock) {
    switch (Int(0, 5)) {
      case 0:
        return 0;
      case 1:
        return 1;
      case 2:
        return Int(0, maxBlock / 2) * 2 + 1;  // odd, possibly past the maximum by one
      case 3:
        return maxBlock + Int(1, 300);
      default:
        return maxBlock;
    }
  }
  double Sample() {
    switch (Int(0, 40)) {
      case 0:
        return std::numeric_limits<double>::quiet_NaN();
      case 1:
        return Chance(0.5) ? INFINITY : -INFINITY;
      case 2:
        return Chance(0.5) ? 1e30 : -1e30;
      case 3:
        return Chance(0.5) ? 1e-310 : -1e-40;  // denormal in double, in float
      case 4:
        return Chance(0.5) ? FLT_MAX : -FLT_MAX;
      default:
        return Uniform(-1.5, 1.5);
    }
  }
  uint32_t Id() {
    static const uint32_t odd[] = {kBypassId, kPresetId, 17, 18, 9999, 0x7FFFFFFF, 0xFFFFFFFF};
    return Chance(0.8) ? static_cast<uint32_t>(Int(0, 16)) : odd[Int(0, 6)];
  }
  double Value() {
    switch (Int(0, 12)) {
      case 0:
        return std::numeric_limits<double>::quiet_NaN();
      case 1:
        return INFINITY;
      case 2:
        return -INFINITY;
      case 3:
        return Uniform(-5, 0);
      case 4:
        return Uniform(1, 5);
      default:
        return Uniform(0, 1);
    }
  }

 private:
  std::mt19937 mRng;
};
