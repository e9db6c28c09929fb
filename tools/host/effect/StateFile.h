// The host's state file: a plug-in's processor and controller state saved side by side, so a
// render can be repeated with exactly the settings a previous one ended with.
//
// Layout (integers little-endian):
//   offset 0   4 bytes   magic "QVHS"
//   offset 4   uint32    format version, 1
//   offset 8   16 bytes  class ID of the audio-module class the state belongs to
//   offset 24  uint64    N, length of the processor state, then N bytes (IComponent::getState)
//   ...        uint64    M, length of the controller state, then M bytes (IEditController::getState)
// Nothing may follow. Either blob may be empty when the plug-in keeps no state on that side.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

struct PluginState {
  std::array<char, 16> classId{};
  std::vector<uint8_t> component;
  std::vector<uint8_t> controller;
};

constexpr uint32_t kStateFileVersion = 1;

std::vector<uint8_t> encodeState(const PluginState& state);
// Refuses anything malformed: wrong magic or version, lengths past the end, trailing bytes.
bool decodeState(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error);

bool writeStateFile(const std::string& path, const PluginState& state, std::string* error);
bool readStateFile(const std::string& path, PluginState* state, std::string* error);

}  // namespace qvhost
