// The artwork's PNG settings: RGB where a strip is opaque, the smallest compression; no time or
// text chunks, so the same pixels always give the same bytes.
#pragma once

#include "pix/PIX_PNGWrite.h"

#include <cstddef>

inline std::vector<uint8_t> EncodeStripPng(PIX_IBitmap* bm) {
  return PIX_EncodePNG(bm, PIX_PNGAlpha::kDropWhenOpaque, PIX_PNGCompression::kSmallest);
}

// The legend sheet as 8-bit grey: its coverage is the same in every channel.
inline std::vector<uint8_t> EncodeLegendSheetPng(PIX_IBitmap* sheet) {
  PIX_PNGRaw raw;
  raw.width = sheet->getWidth();
  raw.height = sheet->getHeight();
  raw.colorType = PIX_PNGColor::kGrey;
  raw.rows.resize(static_cast<size_t>(raw.height));
  for (int y = 0; y < raw.height; y++)
    for (int x = 0; x < raw.width; x++)
      raw.rows[static_cast<size_t>(y)].push_back(
          static_cast<uint8_t>(PIX_GetR(sheet->getBits()[static_cast<long>(y) * sheet->getRowSpan() + x])));
  return PIX_EncodePNG(raw, PIX_PNGCompression::kSmallest);
}
