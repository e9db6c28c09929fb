// Host identification order and display names; packed version decoding.
#include "framework/HostIdentification.h"
#include "framework/Version.h"
#include "support/FakePlugin.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string HostName(EHost h) {
  char buf[kHostNameStrSize];
  GetHostNameStr(h, buf);
  return buf;
}
}  // namespace

TEST(HostIdentification, LookUpIsCaseInsensitiveAndFollowsTheTableOrder) {
  EXPECT_EQ(LookUpHost("REAPER"), kHostReaper);
  EXPECT_EQ(LookUpHost("Reaper64"), kHostReaper);
  EXPECT_EQ(LookUpHost("Cakewalk SONAR"), kHostSonar);
  EXPECT_EQ(HostName(LookUpHost("Cakewalk SONAR")), "Sonar");
  EXPECT_EQ(LookUpHost("Celemony Melodyne"), kHostMelodyne);
  EXPECT_EQ(HostName(kHostMelodyne), "Unknown");
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);

  // Earlier keys win: "cubase" before "live", "live" even inside another word.
  EXPECT_EQ(LookUpHost("Cubase Live Edition"), kHostCubase);
  EXPECT_EQ(LookUpHost("Express Delivery Station"), kHostLive);
  EXPECT_EQ(LookUpHost("Live Logic"), kHostLive);
  EXPECT_EQ(LookUpHost("PreSonus Studio One"), kHostStudioOne);
  EXPECT_EQ(LookUpHost("Digital Performer"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("VST3PluginTestHost"), kHostVST3TestHost);
  EXPECT_EQ(LookUpHost("Standalone Logic"), kHostLogic);
  EXPECT_EQ(LookUpHost("Bitwig Studio"), kHostUnknown);

  // A key beyond the first 255 characters is not seen, and the long name does not overrun.
  std::string longName(400, 'a');
  longName += "reaper";
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostUnknown);
}

TEST(HostIdentification, DisplayNamesCoverEveryCode) {
  EXPECT_EQ(HostName(kHostVST3TestHost), "VST3PluginTestHost");
  EXPECT_EQ(HostName(kHostVegas), "Vegas");
  EXPECT_EQ(HostName(kHostUnused10), "Unknown");
  EXPECT_EQ(HostName(kHostUnused19), "Unknown");
  EXPECT_EQ(HostName(kHostOpenMPT), "OpenMPT");
  EXPECT_EQ(HostName(kHostUninit), "Unknown");
  EXPECT_EQ(HostName(static_cast<EHost>(31)), "Unknown");
}

TEST(Version, PartsDecimalAndText) {
  EXPECT_EQ(GetDecimalVersion(0x00010100), 10100);
  char buf[kVersionStrSize];
  GetVersionStr(0x00020A03, buf);
  EXPECT_STREQ(buf, "v2.10.3");
  GetVersionStr(static_cast<int>(0xFFFFFFFFu), buf);  // major is unsigned
  EXPECT_STREQ(buf, "v65535.255.255");
  int major = 0, minor = 0, bugfix = 0;
  GetVersionParts(0x00010100, &major, &minor, &bugfix);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 1);
  EXPECT_EQ(bugfix, 0);
}

TEST(Version, HostVersionAsksForTheHostFirst) {
  FakePlugin p(FakePlugin::Bare());
  EXPECT_EQ(p.GetHostVersion(true), 0);
  p.SetHost("Reaper", 0x00050A01);
  EXPECT_EQ(p.GetHost(), kHostReaper);
  p.log.clear();
  EXPECT_EQ(p.GetHostVersion(true), 51001);
  EXPECT_EQ(p.GetHostVersion(false), 0x00050A01);
  char buf[kVersionStrSize];
  p.GetHostVersionStr(buf);
  EXPECT_STREQ(buf, "v5.10.1");
  EXPECT_EQ(p.log.size(), 3u);
}
