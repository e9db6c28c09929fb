// IChannelBlend: how a control's drawing combines with what is already in the back buffer, and
// its translation into a raster weight and mode word.
#pragma once

#include "pix/PIX_Mode.h"

struct IChannelBlend {
  enum EBlendMethod {
    kBlendNone = 0,        // copy, using source alpha
    kBlendClobber = 1,     // copy, the source overwrites the destination
    kBlendAdd = 2,         // add, using source alpha
    kBlendColorDodge = 3,  // colour dodge, using source alpha
  };

  EBlendMethod mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() = default;
  explicit IChannelBlend(EBlendMethod method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}
};

// Raster mode word for a blend; a null blend is a plain copy using source alpha.
inline int BlendToMode(const IChannelBlend* blend) {
  if (!blend) return PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY;
  switch (blend->mMethod) {
    case IChannelBlend::kBlendClobber:
      return PIX_BLIT_MODE_COPY;
    case IChannelBlend::kBlendAdd:
      return PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_ADD;
    case IChannelBlend::kBlendColorDodge:
      return PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_DODGE;
    default:
      return PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY;
  }
}

inline float BlendToWeight(const IChannelBlend* blend) { return blend ? blend->mWeight : 1.0f; }
