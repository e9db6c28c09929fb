// Window pictures as PNG files: 0xAARRGGBB pixels, rows top-down, written and read as 8-bit RGBA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

bool writePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string* error);
bool readPng(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height,
             std::string* error);

}  // namespace qvhost
