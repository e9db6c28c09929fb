// Scalar types, limits and the interface version every entry, descriptor and host record starts
// with. Layout-relevant only; no behaviour.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

extern "C" {

typedef uint32_t clap_id;
typedef int64_t clap_beattime;
typedef int64_t clap_sectime;

static const clap_id CLAP_INVALID_ID = UINT32_MAX;
enum { CLAP_NAME_SIZE = 256, CLAP_PATH_SIZE = 1024 };
static const int64_t CLAP_BEATTIME_FACTOR = int64_t(1) << 31;
static const int64_t CLAP_SECTIME_FACTOR = int64_t(1) << 31;
static const uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

typedef struct clap_version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
} clap_version_t;

}  // extern "C"

#define CLAP_VERSION_INIT \
  { 1u, 2u, 10u }

// 0.x were pre-releases; every 1.x is binary compatible.
inline bool clap_version_is_compatible(const clap_version_t v) { return v.major >= 1; }

static_assert(sizeof(clap_version_t) == 12 && alignof(clap_version_t) == 4, "clap_version layout");
