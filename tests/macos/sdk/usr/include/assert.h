// Apple-shaped C headers for the macOS link check: assert reports through libSystem's __assert_rtn.
// Declarations only.
#ifdef __cplusplus
extern "C" {
#endif
void __assert_rtn(const char* func, const char* file, int line, const char* expr)
    __attribute__((__noreturn__));
#ifdef __cplusplus
}
#endif

#undef assert
#ifdef NDEBUG
#define assert(e) ((void)0)
#else
#define assert(e) (__builtin_expect(!(e), 0) ? __assert_rtn(__func__, __FILE__, __LINE__, #e) : (void)0)
#endif
