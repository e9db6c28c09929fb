// Apple-shaped C headers for the macOS link check (each architecture's jump buffer, libSystem's
// _setjmp entry). Declarations only. libpng checks the buffer's size, so it must be the Mac's.
#pragma once

#if defined(__arm64__)
#define _JBLEN ((14 + 8 + 2) * 2)
#else
#define _JBLEN ((9 * 2) + 3 + 16)
#endif
typedef int jmp_buf[_JBLEN];
typedef int sigjmp_buf[_JBLEN + 1];

#ifdef __cplusplus
extern "C" {
#endif
int setjmp(jmp_buf env) __attribute__((__returns_twice__));
void longjmp(jmp_buf env, int val) __attribute__((__noreturn__));
int _setjmp(jmp_buf env) __attribute__((__returns_twice__));
void _longjmp(jmp_buf env, int val) __attribute__((__noreturn__));
#ifdef __cplusplus
}
#endif
