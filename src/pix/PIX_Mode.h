// The mode word every drawing operation takes, and the float-weight-to-integer rule.
#pragma once

enum {
  PIX_BLIT_MODE_COPY = 0,
  PIX_BLIT_MODE_ADD = 1,
  PIX_BLIT_MODE_DODGE = 2,
  PIX_BLIT_MODE_MUL = 3,
  PIX_BLIT_MODE_OVERLAY = 4,
  PIX_BLIT_MODE_HSVADJ = 5,
  PIX_BLIT_MODE_MASK = 0xFF,
  // Low byte 0xF0..0xFF: blit-only channel copy; bits 0-1 pick the source byte, bits 2-3 the
  // destination byte (0 blue, 1 green, 2 red, 3 alpha).
  PIX_BLIT_MODE_CHANCOPY = 0xF0,
  PIX_BLIT_FILTER_BILINEAR = 0x100,
  PIX_BLIT_USE_SRC_ALPHA = 0x10000,
  // The bits that pick the combine function of a blit.
  PIX_BLIT_COMBINE_MASK = 0x100FF,
};

// 256 means full effect; truncated toward zero like the C cast. NaN counts as 0 and the weight is
// held within +-16 so that neither the conversion nor the combine arithmetic can overflow.
inline float PIX_SaneWeight(float weight) {
  if (!(weight == weight)) return 0.0f;
  if (weight > 16.0f) return 16.0f;
  if (weight < -16.0f) return -16.0f;
  return weight;
}
inline int PIX_WeightToInt(float weight) { return (int)(PIX_SaneWeight(weight) * 256.0f); }
