// Reading the CLIPBOARD selection as UTF-8 text, waiting a bounded time for its owner.
#pragma once

#include <X11/Xlib.h>

#include <string>

// Asks the owner to convert the selection to UTF8_STRING (or, failing that, STRING) onto a
// property of `requestor` and waits at most timeoutMs in all. False when there is no owner, it
// refuses, it does not answer in time, or it answers incrementally (INCR, for very large texts).
// Events that arrive meanwhile stay queued for the caller.
bool ReadClipboardText(Display* display, Window requestor, std::string* text, int timeoutMs);
