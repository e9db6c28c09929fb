// The host's state file: processor and controller state side by side.
#include "host/effect/StateFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qvhost {

namespace {

constexpr char kMagic[4] = {'Q', 'V', 'H', 'S'};
// State files are small; anything bigger is not one of ours.
constexpr uint64_t kMaxFileSize = uint64_t(1) << 30;

void putLe(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t getLe(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint64_t(p[i]) << (8 * i);
  return v;
}

}  // namespace

std::vector<uint8_t> encodeState(const PluginState& state) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  putLe(out, kStateFileVersion, 4);
  out.insert(out.end(), state.classId.begin(), state.classId.end());
  for (const std::string* text : {&state.vendor, &state.name}) {
    const size_t n = std::min<size_t>(text->size(), kMaxProductText);
    putLe(out, n, 4);
    out.insert(out.end(), text->begin(), text->begin() + static_cast<std::ptrdiff_t>(n));
  }
  putLe(out, state.component.size(), 8);
  out.insert(out.end(), state.component.begin(), state.component.end());
  putLe(out, state.controller.size(), 8);
  out.insert(out.end(), state.controller.begin(), state.controller.end());
  return out;
}

bool decodeState(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error) {
  const auto fail = [&](const char* why) {
    if (error) *error = std::string("not a valid state file: ") + why;
    return false;
  };
  const size_t size = bytes.size();
  if (size < 24 || std::memcmp(bytes.data(), kMagic, 4) != 0) return fail("unknown format");
  const uint64_t version = getLe(bytes.data() + 4, 4);
  if (version != 1 && version != kStateFileVersion) return fail("unsupported version");
  PluginState s;
  std::memcpy(s.classId.data(), bytes.data() + 8, 16);
  size_t pos = 24;
  if (version >= 2)
    for (std::string* text : {&s.vendor, &s.name}) {
      if (size - pos < 4) return fail("truncated");
      const uint64_t n = getLe(bytes.data() + pos, 4);
      pos += 4;
      if (n > kMaxProductText) return fail("a name is too long");
      if (n > size - pos) return fail("truncated");
      text->assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                   bytes.begin() + static_cast<std::ptrdiff_t>(pos + n));
      pos += static_cast<size_t>(n);
    }
  for (std::vector<uint8_t>* blob : {&s.component, &s.controller}) {
    if (size - pos < 8) return fail("truncated");
    const uint64_t n = getLe(bytes.data() + pos, 8);
    pos += 8;
    if (n > size - pos) return fail("truncated");
    blob->assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                 bytes.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += static_cast<size_t>(n);
  }
  if (pos != size) return fail("unexpected data after the controller state");
  *state = std::move(s);
  return true;
}

bool stateBelongsTo(const PluginState& state, const std::array<char, 16>& classId, const std::string& vendor,
                    const std::string& name) {
  if (state.classId == classId) return true;
  return !state.vendor.empty() && !state.name.empty() && state.vendor == vendor && state.name == name;
}

bool writeStateFile(const std::string& path, const PluginState& state, std::string* error) {
  const std::vector<uint8_t> bytes = encodeState(state);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    if (error) *error = "cannot write state file '" + path + "'";
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) {
    if (error) *error = "cannot write state file '" + path + "'";
    return false;
  }
  return true;
}

bool readStateFile(const std::string& path, PluginState* state, std::string* error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    if (error) *error = "cannot read state file '" + path + "'";
    return false;
  }
  std::vector<uint8_t> bytes;
  uint8_t buf[65536];
  size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    if (bytes.size() + n > kMaxFileSize) {
      std::fclose(f);
      if (error) *error = "'" + path + "' is too large to be a state file";
      return false;
    }
    bytes.insert(bytes.end(), buf, buf + n);
  }
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError) {
    if (error) *error = "cannot read state file '" + path + "'";
    return false;
  }
  if (!decodeState(bytes, state, error)) {
    if (error) *error = "'" + path + "': " + *error;
    return false;
  }
  return true;
}

}  // namespace qvhost
