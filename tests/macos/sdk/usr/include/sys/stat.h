// Apple-shaped C headers for the macOS link check: making folders. Declarations only.
#pragma once

#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

int mkdir(const char* path, mode_t mode);

#ifdef __cplusplus
}
#endif
