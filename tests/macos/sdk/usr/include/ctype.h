// Apple-shaped C headers for the macOS link check (libSystem's character classes, called as
// functions rather than through the rune tables Apple's inline versions read). Declarations only.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
int isalnum(int c);
int isalpha(int c);
int isblank(int c);
int iscntrl(int c);
int isdigit(int c);
int isgraph(int c);
int islower(int c);
int isprint(int c);
int ispunct(int c);
int isspace(int c);
int isupper(int c);
int isxdigit(int c);
int tolower(int c);
int toupper(int c);
#ifdef __cplusplus
}
#endif
