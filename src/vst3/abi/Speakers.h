// Speaker bits and the common arrangements built from them. A bus's channel order is the
// ascending bit order; its channel count is the number of set bits.
#pragma once

#include "vst3/abi/AbiTypes.h"

namespace vst3abi {
namespace speakers {

constexpr Speaker kSpeakerL = 1ull << 0;
constexpr Speaker kSpeakerR = 1ull << 1;
constexpr Speaker kSpeakerC = 1ull << 2;
constexpr Speaker kSpeakerLfe = 1ull << 3;
constexpr Speaker kSpeakerLs = 1ull << 4;
constexpr Speaker kSpeakerRs = 1ull << 5;
constexpr Speaker kSpeakerLc = 1ull << 6;
constexpr Speaker kSpeakerRc = 1ull << 7;
constexpr Speaker kSpeakerS = 1ull << 8;
constexpr Speaker kSpeakerCs = kSpeakerS;
constexpr Speaker kSpeakerSl = 1ull << 9;
constexpr Speaker kSpeakerSr = 1ull << 10;
constexpr Speaker kSpeakerTc = 1ull << 11;
constexpr Speaker kSpeakerTfl = 1ull << 12;
constexpr Speaker kSpeakerTfc = 1ull << 13;
constexpr Speaker kSpeakerTfr = 1ull << 14;
constexpr Speaker kSpeakerTrl = 1ull << 15;
constexpr Speaker kSpeakerTrc = 1ull << 16;
constexpr Speaker kSpeakerTrr = 1ull << 17;
constexpr Speaker kSpeakerLfe2 = 1ull << 18;
constexpr Speaker kSpeakerM = 1ull << 19;
constexpr Speaker kSpeakerACN0 = 1ull << 20;
constexpr Speaker kSpeakerACN1 = 1ull << 21;
constexpr Speaker kSpeakerACN2 = 1ull << 22;
constexpr Speaker kSpeakerACN3 = 1ull << 23;
constexpr Speaker kSpeakerTsl = 1ull << 24;
constexpr Speaker kSpeakerTsr = 1ull << 25;
constexpr Speaker kSpeakerLcs = 1ull << 26;
constexpr Speaker kSpeakerRcs = 1ull << 27;
constexpr Speaker kSpeakerBfl = 1ull << 28;
constexpr Speaker kSpeakerBfc = 1ull << 29;
constexpr Speaker kSpeakerBfr = 1ull << 30;
constexpr Speaker kSpeakerPl = 1ull << 31;
constexpr Speaker kSpeakerPr = 1ull << 32;
constexpr Speaker kSpeakerBsl = 1ull << 33;
constexpr Speaker kSpeakerBsr = 1ull << 34;
constexpr Speaker kSpeakerBrl = 1ull << 35;
constexpr Speaker kSpeakerBrc = 1ull << 36;
constexpr Speaker kSpeakerBrr = 1ull << 37;
constexpr Speaker kSpeakerACN4 = 1ull << 38;  // ACN4 .. ACN24 occupy bits 38 .. 58
constexpr Speaker kSpeakerLw = 1ull << 59;
constexpr Speaker kSpeakerRw = 1ull << 60;

}  // namespace speakers

namespace arrangements {

using namespace speakers;

constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = kSpeakerM;  // not the centre speaker
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
constexpr SpeakerArrangement kStereoSurround = kSpeakerLs | kSpeakerRs;
constexpr SpeakerArrangement kStereoCenter = kSpeakerLc | kSpeakerRc;
constexpr SpeakerArrangement kStereoSide = kSpeakerSl | kSpeakerSr;
constexpr SpeakerArrangement kStereoCLfe = kSpeakerC | kSpeakerLfe;
constexpr SpeakerArrangement k30Cine = kSpeakerL | kSpeakerR | kSpeakerC;
constexpr SpeakerArrangement k30Music = kSpeakerL | kSpeakerR | kSpeakerS;
constexpr SpeakerArrangement k31Cine = k30Cine | kSpeakerLfe;
constexpr SpeakerArrangement k31Music = k30Music | kSpeakerLfe;
constexpr SpeakerArrangement k40Cine = k30Cine | kSpeakerS;
constexpr SpeakerArrangement k40Music = kStereo | kStereoSurround;
constexpr SpeakerArrangement k41Music = k40Music | kSpeakerLfe;
constexpr SpeakerArrangement k50 = k40Music | kSpeakerC;
constexpr SpeakerArrangement k51 = k50 | kSpeakerLfe;
constexpr SpeakerArrangement k60Cine = k50 | kSpeakerCs;
constexpr SpeakerArrangement k60Music = k40Music | kStereoSide;
constexpr SpeakerArrangement k70Music = k60Music | kSpeakerC;
constexpr SpeakerArrangement k71Music = k70Music | kSpeakerLfe;
constexpr SpeakerArrangement k71Cine = k51 | kStereoCenter;

static_assert(kMono == 0x80000 && kStereo == 0x3 && k30Music == 0x103 && k31Music == 0x10B, "arrangements");
static_assert(k40Cine == 0x107 && k50 == 0x37 && k60Cine == 0x137 && k60Music == 0x633, "arrangements");
static_assert(k71Music == 0x63F && k71Cine == 0xFF && kStereoSide == 0x600, "arrangements");

}  // namespace arrangements

constexpr int32 channelCount(SpeakerArrangement arr) {
  int32 n = 0;
  for (; arr != 0; arr &= arr - 1) ++n;
  return n;
}

}  // namespace vst3abi
