// The host's state file: a plug-in's processor and controller state saved side by side, so a
// render can be repeated with exactly the settings a previous one ended with.
//
// Layout (integers little-endian):
//   offset 0   4 bytes   magic "QVHS"
//   offset 4   uint32    format version, 2 (1 is still read: it has no product fields)
//   offset 8   16 bytes  class ID of the audio-module class the state belongs to
//   offset 24  uint32    V, length of the vendor's name, then V bytes of UTF-8 (version 2)
//   ...        uint32    P, length of the plug-in's name, then P bytes of UTF-8 (version 2)
//   ...        uint64    N, length of the processor state, then N bytes (IComponent::getState)
//   ...        uint64    M, length of the controller state, then M bytes (IEditController::getState)
// Nothing may follow. Either blob may be empty when the plug-in keeps no state on that side.
// The class ID differs between formats; vendor and name let one format of a product take the state
// another format of it saved.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

struct PluginState {
  std::array<char, 16> classId{};
  std::string vendor, name;  // empty in a version 1 file
  std::vector<uint8_t> component;
  std::vector<uint8_t> controller;
};

constexpr uint32_t kStateFileVersion = 2;
// Longer vendor or plug-in names are not ours to store.
constexpr uint32_t kMaxProductText = 1024;

std::vector<uint8_t> encodeState(const PluginState& state);
// Refuses anything malformed: wrong magic or version, lengths past the end, trailing bytes.
bool decodeState(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error);

// Whether a saved state is for the plug-in with this class ID, vendor and name: its own class, or
// the same product (vendor and name, both known) in another format. Any thread.
bool stateBelongsTo(const PluginState& state, const std::array<char, 16>& classId, const std::string& vendor,
                    const std::string& name);

bool writeStateFile(const std::string& path, const PluginState& state, std::string* error);
bool readStateFile(const std::string& path, PluginState* state, std::string* error);

}  // namespace qvhost
