// Apple-shaped C headers for the macOS link check. Declarations only.
#pragma once

#include <wchar.h>

typedef unsigned long wctype_t;
typedef int wctrans_t;

#ifdef __cplusplus
extern "C" {
#endif
int iswalnum(wint_t wc);
int iswalpha(wint_t wc);
int iswblank(wint_t wc);
int iswcntrl(wint_t wc);
int iswdigit(wint_t wc);
int iswgraph(wint_t wc);
int iswlower(wint_t wc);
int iswprint(wint_t wc);
int iswpunct(wint_t wc);
int iswspace(wint_t wc);
int iswupper(wint_t wc);
int iswxdigit(wint_t wc);
int iswctype(wint_t wc, wctype_t charclass);
wctype_t wctype(const char* property);
wint_t towlower(wint_t wc);
wint_t towupper(wint_t wc);
#ifdef __cplusplus
}
#endif
