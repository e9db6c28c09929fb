// The host's services for a plug-in's main thread: timers, file-descriptor watches, and the
// thread check and log a plug-in may use for diagnostics.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";
static const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
static const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";
static const char CLAP_EXT_LOG[] = "clap.log";

typedef struct clap_plugin_timer_support {
  void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);  // main
} clap_plugin_timer_support_t;

typedef struct clap_host_timer_support {
  // Both: main thread.
  bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
  bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
} clap_host_timer_support_t;

typedef uint32_t clap_posix_fd_flags_t;
enum { CLAP_POSIX_FD_READ = 1, CLAP_POSIX_FD_WRITE = 2, CLAP_POSIX_FD_ERROR = 4 };

typedef struct clap_plugin_posix_fd_support {
  void(CLAP_ABI* on_fd)(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);  // main
} clap_plugin_posix_fd_support_t;

typedef struct clap_host_posix_fd_support {
  // All: main thread. Level-triggered.
  bool(CLAP_ABI* register_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
  bool(CLAP_ABI* modify_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
  bool(CLAP_ABI* unregister_fd)(const clap_host_t* host, int fd);
} clap_host_posix_fd_support_t;

typedef struct clap_host_thread_check {
  bool(CLAP_ABI* is_main_thread)(const clap_host_t* host);
  bool(CLAP_ABI* is_audio_thread)(const clap_host_t* host);
} clap_host_thread_check_t;

enum {
  CLAP_LOG_DEBUG = 0,
  CLAP_LOG_INFO = 1,
  CLAP_LOG_WARNING = 2,
  CLAP_LOG_ERROR = 3,
  CLAP_LOG_FATAL = 4,
  CLAP_LOG_HOST_MISBEHAVING = 5,
  CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

typedef struct clap_host_log {
  void(CLAP_ABI* log)(const clap_host_t* host, int32_t severity, const char* msg);  // any thread
} clap_host_log_t;

}  // extern "C"

static_assert(sizeof(clap_host_timer_support_t) == 16 && sizeof(clap_host_posix_fd_support_t) == 24,
              "host service sizes");
