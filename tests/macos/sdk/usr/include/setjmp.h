// Apple-shaped C headers for the macOS link check (x86-64 jump buffers, libSystem's _setjmp
// entry). Declarations only.
#pragma once

typedef int jmp_buf[((9 * 2) + 3 + 16)];
typedef int sigjmp_buf[((9 * 2) + 3 + 16) + 1];

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
