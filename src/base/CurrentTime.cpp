// CurrentTime formatting and the UTC offset across day and year boundaries.
#include "base/CurrentTime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

int UtcOffsetMinutes(int localHour, int localMin, int localYday, int utcHour, int utcMin, int utcYday) {
  int minutes = (localMin - utcMin) + 60 * (localHour - utcHour);
  int dayDiff = localYday - utcYday;
  if (dayDiff == 1 || dayDiff == -1)
    minutes += 1440 * dayDiff;
  else if (dayDiff >= 2)  // local is still in the old year, UTC already in the new one
    minutes -= 1440;
  else if (dayDiff <= -2)
    minutes += 1440;
  return minutes;
}

const char* CurrentTime() {
  static char sBuf[64];
  std::time_t t = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  if (!localtime_r(&t, &local) || !gmtime_r(&t, &utc)) {
    sBuf[0] = '\0';
    return sBuf;
  }
  size_t n = std::strftime(sBuf, sizeof(sBuf), "%Y%m%d %H:%M ", &local);
  int offset =
      UtcOffsetMinutes(local.tm_hour, local.tm_min, local.tm_yday, utc.tm_hour, utc.tm_min, utc.tm_yday);
  int mag = std::abs(offset);
  std::snprintf(sBuf + n, sizeof(sBuf) - n, "%c%02d%02d", offset < 0 ? '-' : '+', mag / 60, mag % 60);
  return sBuf;
}
