// Apple-shaped C headers for the macOS link check. Declarations only.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
struct sched_param {
  int sched_priority;
  char __opaque[4];
};
int sched_yield(void);
#ifdef __cplusplus
}
#endif
