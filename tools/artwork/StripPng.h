// Deterministic PNG encoding of the strips: fixed compression settings and no time or text
// chunks, so the same pixels always give the same bytes.
#pragma once

#include "pix/PIX_IBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

// 8-bit RGBA, or RGB when every pixel is opaque. Empty on failure.
std::vector<uint8_t> EncodePng(PIX_IBitmap* bm);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
