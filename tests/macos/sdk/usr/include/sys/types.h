// Apple-shaped C headers for the macOS link check: the POSIX scalar types. Declarations only.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <sys/_types.h>

typedef __darwin_ssize_t ssize_t;
typedef __darwin_off_t off_t;
typedef __darwin_pid_t pid_t;
typedef __darwin_uid_t uid_t;
typedef __darwin_gid_t gid_t;
typedef __darwin_mode_t mode_t;
typedef __darwin_time_t time_t;
typedef __darwin_clock_t clock_t;
typedef __darwin_suseconds_t suseconds_t;
typedef __darwin_socklen_t socklen_t;
typedef unsigned long pthread_key_t;
typedef __darwin_pthread_t pthread_t;
typedef struct _opaque_pthread_mutex_t pthread_mutex_t;
typedef struct _opaque_pthread_mutexattr_t pthread_mutexattr_t;
typedef struct _opaque_pthread_cond_t pthread_cond_t;
typedef struct _opaque_pthread_condattr_t pthread_condattr_t;
typedef struct _opaque_pthread_attr_t pthread_attr_t;
typedef struct _opaque_pthread_once_t pthread_once_t;
typedef struct _opaque_pthread_rwlock_t pthread_rwlock_t;
