// Apple-shaped C headers for the macOS link check (libSystem's general utilities). Declarations only.
#pragma once

#include <stddef.h>
#include <sys/types.h>

#define EXIT_SUCCESS 0
#define EXIT_FAILURE 1
#define RAND_MAX 0x7fffffff
extern int __mb_cur_max;
#define MB_CUR_MAX __mb_cur_max

#ifdef __cplusplus
extern "C" {
#endif
typedef struct {
  int quot;
  int rem;
} div_t;
typedef struct {
  long quot;
  long rem;
} ldiv_t;
typedef struct {
  long long quot;
  long long rem;
} lldiv_t;

void abort(void) __attribute__((__noreturn__));
int abs(int j) __attribute__((__const__));
long labs(long j) __attribute__((__const__));
long long llabs(long long j);
int atexit(void (*func)(void));
double atof(const char* str);
int atoi(const char* str);
long atol(const char* str);
long long atoll(const char* str);
void* bsearch(const void* key, const void* base, size_t nel, size_t width,
              int (*compar)(const void*, const void*));
void* calloc(size_t count, size_t size);
div_t div(int num, int denom);
ldiv_t ldiv(long num, long denom);
lldiv_t lldiv(long long num, long long denom);
void exit(int status) __attribute__((__noreturn__));
void _Exit(int status) __attribute__((__noreturn__));
void free(void* ptr);
char* getenv(const char* name);
void* malloc(size_t size);
int posix_memalign(void** memptr, size_t alignment, size_t size);
void qsort(void* base, size_t nel, size_t width, int (*compar)(const void*, const void*));
int rand(void);
void* realloc(void* ptr, size_t size);
char* realpath(const char* file_name, char* resolved_name) __asm("_realpath$DARWIN_EXTSN");
void srand(unsigned seed);
double strtod(const char* str, char** endptr);
float strtof(const char* str, char** endptr);
long double strtold(const char* str, char** endptr);
long strtol(const char* str, char** endptr, int base);
long long strtoll(const char* str, char** endptr, int base);
unsigned long strtoul(const char* str, char** endptr, int base);
unsigned long long strtoull(const char* str, char** endptr, int base);
int system(const char* command);
int mblen(const char* s, size_t n);
size_t mbstowcs(wchar_t* pwcs, const char* s, size_t n);
int mbtowc(wchar_t* pwc, const char* s, size_t n);
size_t wcstombs(char* s, const wchar_t* pwcs, size_t n);
int wctomb(char* s, wchar_t wchar);
#ifdef __cplusplus
}
#endif
