// Apple-shaped C headers for the macOS link check (libSystem's threads: the opaque types have the
// Mac's sizes and initialisers, which std::mutex and std::condition_variable embed). Declarations only.
#pragma once

#include <sched.h>
#include <sys/types.h>
#include <time.h>

#define _PTHREAD_MUTEX_SIG_init 0x32AAABA7
#define _PTHREAD_COND_SIG_init 0x3CB0B1BB
#define _PTHREAD_ONCE_SIG_init 0x30B1BCBA
#define PTHREAD_MUTEX_INITIALIZER  \
  {                                \
    _PTHREAD_MUTEX_SIG_init, { 0 } \
  }
#define PTHREAD_COND_INITIALIZER  \
  {                               \
    _PTHREAD_COND_SIG_init, { 0 } \
  }
#define PTHREAD_ONCE_INIT         \
  {                               \
    _PTHREAD_ONCE_SIG_init, { 0 } \
  }
#define PTHREAD_MUTEX_NORMAL 0
#define PTHREAD_MUTEX_ERRORCHECK 1
#define PTHREAD_MUTEX_RECURSIVE 2
#define PTHREAD_MUTEX_DEFAULT PTHREAD_MUTEX_NORMAL
#define PTHREAD_CREATE_JOINABLE 1
#define PTHREAD_CREATE_DETACHED 2

#ifdef __cplusplus
extern "C" {
#endif
int pthread_attr_destroy(pthread_attr_t* attr);
int pthread_attr_init(pthread_attr_t* attr);
int pthread_attr_setdetachstate(pthread_attr_t* attr, int state);
int pthread_cond_broadcast(pthread_cond_t* cond);
int pthread_cond_destroy(pthread_cond_t* cond);
int pthread_cond_init(pthread_cond_t* cond, const pthread_condattr_t* attr);
int pthread_cond_signal(pthread_cond_t* cond);
int pthread_cond_timedwait(pthread_cond_t* cond, pthread_mutex_t* mutex, const struct timespec* abstime);
int pthread_cond_wait(pthread_cond_t* cond, pthread_mutex_t* mutex);
int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start_routine)(void*), void* arg);
int pthread_detach(pthread_t thread);
int pthread_equal(pthread_t t1, pthread_t t2);
void* pthread_getspecific(pthread_key_t key);
int pthread_join(pthread_t thread, void** value_ptr);
int pthread_key_create(pthread_key_t* key, void (*destructor)(void*));
int pthread_key_delete(pthread_key_t key);
int pthread_mutex_destroy(pthread_mutex_t* mutex);
int pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t* attr);
int pthread_mutex_lock(pthread_mutex_t* mutex);
int pthread_mutex_trylock(pthread_mutex_t* mutex);
int pthread_mutex_unlock(pthread_mutex_t* mutex);
int pthread_mutexattr_destroy(pthread_mutexattr_t* attr);
int pthread_mutexattr_init(pthread_mutexattr_t* attr);
int pthread_mutexattr_settype(pthread_mutexattr_t* attr, int type);
int pthread_once(pthread_once_t* once_control, void (*init_routine)(void));
pthread_t pthread_self(void);
int pthread_setspecific(pthread_key_t key, const void* value);
int pthread_threadid_np(pthread_t thread, uint64_t* thread_id);
int pthread_setname_np(const char* name);
#ifdef __cplusplus
}
#endif
