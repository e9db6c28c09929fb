// Apple-shaped C headers for the macOS link check: the basic types, with the sizes and names of
// the 64-bit Mac ABI, the same on x86-64 and arm64 (libc++ embeds several of them in its own
// types). Declarations only.
#pragma once

typedef long __darwin_ssize_t;
typedef long long __darwin_off_t;
typedef int __darwin_pid_t;
typedef unsigned int __darwin_uid_t;
typedef unsigned int __darwin_gid_t;
typedef unsigned short __darwin_mode_t;
typedef long __darwin_time_t;
typedef unsigned long __darwin_clock_t;
typedef int __darwin_suseconds_t;
typedef int __darwin_ct_rune_t;
typedef int __darwin_wint_t;
typedef unsigned int __darwin_socklen_t;

typedef union {
  char __mbstate8[128];
  long long _mbstateL;
} __mbstate_t;
typedef __mbstate_t __darwin_mbstate_t;

struct _opaque_pthread_t;
typedef struct _opaque_pthread_t* __darwin_pthread_t;
struct _opaque_pthread_mutex_t {
  long __sig;
  char __opaque[56];
};
struct _opaque_pthread_mutexattr_t {
  long __sig;
  char __opaque[8];
};
struct _opaque_pthread_cond_t {
  long __sig;
  char __opaque[40];
};
struct _opaque_pthread_condattr_t {
  long __sig;
  char __opaque[8];
};
struct _opaque_pthread_attr_t {
  long __sig;
  char __opaque[56];
};
struct _opaque_pthread_once_t {
  long __sig;
  char __opaque[8];
};
struct _opaque_pthread_rwlock_t {
  long __sig;
  char __opaque[192];
};
