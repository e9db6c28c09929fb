// CurrentTime: local date and time with the UTC offset, for trace lines.
#pragma once

// "YYYYMMDD HH:MM +HHMM". The text lives in one static buffer that every call overwrites, so it is
// not safe for concurrent callers.
const char* CurrentTime();

// The offset computation alone, in minutes, from broken-down local and UTC times (hour, minute and
// day of year of each).
int UtcOffsetMinutes(int localHour, int localMin, int localYday, int utcHour, int utcMin, int utcYday);
