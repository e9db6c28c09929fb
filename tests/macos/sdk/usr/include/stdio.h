// Apple-shaped C headers for the macOS link check (libSystem's standard I/O: the streams are
// ___stdinp and kin, fopen is the $DARWIN_EXTSN variant). Declarations only.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <sys/types.h>

typedef off_t fpos_t;
typedef struct __sFILE FILE;

#define EOF (-1)
#define BUFSIZ 1024
#define FILENAME_MAX 1024
#define FOPEN_MAX 20
#define L_tmpnam 1024
#define TMP_MAX 308915776
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#define _IOFBF 0
#define _IOLBF 1
#define _IONBF 2

#ifdef __cplusplus
extern "C" {
#endif
extern FILE* __stdinp;
extern FILE* __stdoutp;
extern FILE* __stderrp;
#define stdin __stdinp
#define stdout __stdoutp
#define stderr __stderrp

void clearerr(FILE* stream);
int fclose(FILE* stream);
int feof(FILE* stream);
int ferror(FILE* stream);
int fflush(FILE* stream);
int fgetc(FILE* stream);
int fgetpos(FILE* stream, fpos_t* pos);
char* fgets(char* str, int size, FILE* stream);
FILE* fopen(const char* filename, const char* mode) __asm("_fopen$DARWIN_EXTSN");
int fprintf(FILE* stream, const char* format, ...) __attribute__((__format__(__printf__, 2, 3)));
int fputc(int c, FILE* stream);
int fputs(const char* s, FILE* stream);
size_t fread(void* ptr, size_t size, size_t nitems, FILE* stream);
FILE* freopen(const char* filename, const char* mode, FILE* stream);
int fscanf(FILE* stream, const char* format, ...);
int fseek(FILE* stream, long offset, int whence);
int fsetpos(FILE* stream, const fpos_t* pos);
long ftell(FILE* stream);
size_t fwrite(const void* ptr, size_t size, size_t nitems, FILE* stream);
int getc(FILE* stream);
int getchar(void);
void perror(const char* s);
int printf(const char* format, ...) __attribute__((__format__(__printf__, 1, 2)));
int putc(int c, FILE* stream);
int putchar(int c);
int puts(const char* s);
int remove(const char* path);
int rename(const char* old, const char* to);
void rewind(FILE* stream);
int scanf(const char* format, ...);
void setbuf(FILE* stream, char* buf);
int setvbuf(FILE* stream, char* buf, int mode, size_t size);
int snprintf(char* str, size_t size, const char* format, ...) __attribute__((__format__(__printf__, 3, 4)));
int sprintf(char* str, const char* format, ...) __attribute__((__format__(__printf__, 2, 3)));
int sscanf(const char* s, const char* format, ...);
FILE* tmpfile(void);
char* tmpnam(char* s);
int ungetc(int c, FILE* stream);
int vfprintf(FILE* stream, const char* format, va_list ap) __attribute__((__format__(__printf__, 2, 0)));
int vfscanf(FILE* stream, const char* format, va_list ap);
int vprintf(const char* format, va_list ap);
int vscanf(const char* format, va_list ap);
int vsnprintf(char* str, size_t size, const char* format, va_list ap)
    __attribute__((__format__(__printf__, 3, 0)));
int vsprintf(char* str, const char* format, va_list ap);
int vsscanf(const char* str, const char* format, va_list ap);
#ifdef __cplusplus
}
#endif
