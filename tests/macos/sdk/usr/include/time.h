// Apple-shaped C headers for the macOS link check (libSystem's clocks and calendar; clock_gettime
// exists from macOS 10.12). Declarations only.
#pragma once

#include <stddef.h>
#include <sys/types.h>

struct timespec {
  time_t tv_sec;
  long tv_nsec;
};
struct tm {
  int tm_sec;
  int tm_min;
  int tm_hour;
  int tm_mday;
  int tm_mon;
  int tm_year;
  int tm_wday;
  int tm_yday;
  int tm_isdst;
  long tm_gmtoff;
  char* tm_zone;
};

#define CLOCKS_PER_SEC 1000000
typedef enum {
  _CLOCK_REALTIME = 0,
  _CLOCK_MONOTONIC = 6,
  _CLOCK_MONOTONIC_RAW = 4,
  _CLOCK_PROCESS_CPUTIME_ID = 12,
  _CLOCK_THREAD_CPUTIME_ID = 16
} clockid_t;
#define CLOCK_REALTIME _CLOCK_REALTIME
#define CLOCK_MONOTONIC _CLOCK_MONOTONIC
#define CLOCK_MONOTONIC_RAW _CLOCK_MONOTONIC_RAW
#define CLOCK_PROCESS_CPUTIME_ID _CLOCK_PROCESS_CPUTIME_ID
#define CLOCK_THREAD_CPUTIME_ID _CLOCK_THREAD_CPUTIME_ID

#ifdef __cplusplus
extern "C" {
#endif
char* asctime(const struct tm* timeptr);
clock_t clock(void);
char* ctime(const time_t* clock);
double difftime(time_t time1, time_t time0);
struct tm* gmtime(const time_t* clock);
struct tm* gmtime_r(const time_t* clock, struct tm* result);
struct tm* localtime(const time_t* clock);
struct tm* localtime_r(const time_t* clock, struct tm* result);
time_t mktime(struct tm* timeptr);
size_t strftime(char* s, size_t maxsize, const char* format, const struct tm* timeptr);
time_t time(time_t* tloc);
int nanosleep(const struct timespec* rqtp, struct timespec* rmtp);
int clock_gettime(clockid_t clock_id, struct timespec* tp);
int clock_getres(clockid_t clock_id, struct timespec* res);
#ifdef __cplusplus
}
#endif
