// Trace: the framework's logging hook. Entry points report through it; this build writes nothing,
// so tracing costs a call and never touches the file system or allocates.
#pragma once

void Trace(const char* function, int line, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

#define QV_TRACE(...) Trace(__func__, __LINE__, __VA_ARGS__)
