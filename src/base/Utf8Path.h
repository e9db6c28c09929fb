// Utf8Path: files named by UTF-8 paths on every system. Windows' own file calls take UTF-16, and
// its narrow ones read the path in the user's code page, which cannot name a folder like "음악".
#pragma once

#include <cstdio>

// fopen with a UTF-8 path; null when the file cannot be opened. Any thread.
FILE* OpenUtf8File(const char* path, const char* mode);
// Renames from to to, replacing an existing file; false on failure. Any thread.
bool RenameUtf8File(const char* from, const char* to);
// Removes a file; false when it cannot. Any thread.
bool RemoveUtf8File(const char* path);
// Creates one folder; true when it exists afterwards. Any thread.
bool MakeUtf8Dir(const char* path);
