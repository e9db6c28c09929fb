// Helpers for state, preset, program and bank file tests: the parameter sanity check, scratch paths,
// whole-file I/O and big-endian fields.
#pragma once

#include "support/FakePlugin.h"

#include "base/StrBuf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Every parameter finite and inside its range, whatever a loader was fed; names the first that is not.
inline testing::AssertionResult ParamsSane(const FakePlugin& plug) {
  const int i = plug.FirstParamOutOfRange();
  if (i < 0) return testing::AssertionSuccess();
  const IParam* p = plug.GetParam(i);
  return testing::AssertionFailure() << "parameter " << i << " holds " << p->GetValue() << ", range "
                                     << p->GetMin() << " to " << p->GetMax();
}

inline std::string ScratchPath(const std::string& name) {
  return testing::TempDir() + "qv_" + std::to_string(::getpid()) + "_" + name;
}

inline Bytes ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a file saver (SaveProgramAsFXP, SaveBankAsFXB) on a scratch path and returns what it wrote.
inline Bytes SaveThroughFile(IPlugin& plug, bool (IPlugin::*save)(StrBuf*), const std::string& name) {
  StrBuf path(ScratchPath(name).c_str());
  EXPECT_TRUE((plug.*save)(&path));
  Bytes b = ReadAll(path.Get());
  std::remove(path.Get());
  return b;
}

// Hands file to a file loader (LoadProgramFromFXP, LoadBankFromFXB) through a scratch path.
inline bool LoadThroughFile(IPlugin& plug, bool (IPlugin::*load)(StrBuf*), const Bytes& file,
                            const std::string& name) {
  StrBuf path(ScratchPath(name).c_str());
  WriteAll(path.Get(), file);
  bool ok = (plug.*load)(&path);
  std::remove(path.Get());
  return ok;
}

inline uint32_t BE32(const Bytes& b, size_t off) {
  return (uint32_t(b.at(off)) << 24) | (uint32_t(b.at(off + 1)) << 16) | (uint32_t(b.at(off + 2)) << 8) |
         uint32_t(b.at(off + 3));
}

inline float BEFloat(const Bytes& b, size_t off) {
  uint32_t v = BE32(b, off);
  float f;
  std::memcpy(&f, &v, 4);
  return f;
}

inline void PutBEFloat(Bytes& b, size_t off, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  for (int i = 0; i < 4; ++i) b.at(off + i) = static_cast<unsigned char>(v >> (24 - 8 * i));
}

inline void PutBE32(Bytes& b, size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(off + i) = static_cast<unsigned char>(v >> (24 - 8 * i));
}

inline std::string Text(const Bytes& b, size_t off, size_t n) {
  return std::string(reinterpret_cast<const char*>(b.data() + off), n);
}

// The 28-byte name field: the name's characters, then NUL padding.
inline std::string NameField(const std::string& name) {
  std::string field = name.substr(0, 28);
  field.resize(28, '\0');
  return field;
}

// Values as close as a normalized single-precision float can carry them.
inline void ExpectValuesNear(const IPlugin& got, const IPlugin& want) {
  for (int i = 0; i < want.GetParamCount(); ++i) {
    const IParam* p = want.GetParam(i);
    EXPECT_NEAR(got.GetParam(i)->GetValue(), p->GetValue(), 1e-5 * (p->GetMax() - p->GetMin()))
        << "parameter " << i;
  }
}
