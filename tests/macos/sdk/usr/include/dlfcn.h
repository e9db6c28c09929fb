// Apple-shaped C headers for the macOS link check: asking the loader which image holds an address.
// Declarations only.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct dl_info {
  const char* dli_fname;  // the image's path
  void* dli_fbase;        // where it is loaded
  const char* dli_sname;  // the nearest symbol
  void* dli_saddr;        // its address
} Dl_info;

int dladdr(const void* addr, Dl_info* info);

#ifdef __cplusplus
}
#endif
