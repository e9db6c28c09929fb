// Files in folders named outside ASCII ("Jörg", "음악") are found, written, renamed and removed on
// every system: Windows opens them through its UTF-16 calls. And the program finds its own file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/ModulePath.h"
#include "base/Utf8Path.h"

namespace {
std::string Slurp(const std::string& path) {
  FILE* f = OpenUtf8File(path.c_str(), "rb");
  if (!f) return "<missing>";
  char buf[64];
  const size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  return std::string(buf, n);
}
}  // namespace

TEST(Utf8Path, NonAsciiFoldersAndFiles) {
  const std::string root = ::testing::TempDir() + "J\xC3\xB6rg";
  const std::string music = root + "/\xEC\x9D\x8C\xEC\x95\x85";
  ASSERT_TRUE(MakeUtf8Dir(root.c_str()));
  ASSERT_TRUE(MakeUtf8Dir(music.c_str()));
  EXPECT_TRUE(MakeUtf8Dir(music.c_str())) << "an existing folder is fine";

  const std::string file = music + "/Einstellung \xE2\x80\x94 1.txt";
  FILE* f = OpenUtf8File(file.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fputs("saved", f);
  ASSERT_EQ(std::fclose(f), 0);
  EXPECT_EQ(Slurp(file), "saved");

  // Renaming replaces an existing target, as the settings files rely on.
  const std::string other = music + "/\xEC\x83\x88.txt";
  f = OpenUtf8File(other.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fclose(f);
  EXPECT_TRUE(RenameUtf8File(file.c_str(), other.c_str()));
  EXPECT_EQ(Slurp(other), "saved");
  EXPECT_EQ(OpenUtf8File(file.c_str(), "rb"), nullptr);

  EXPECT_TRUE(RemoveUtf8File(other.c_str()));
  EXPECT_FALSE(RemoveUtf8File(other.c_str()));
  EXPECT_EQ(OpenUtf8File(nullptr, "rb"), nullptr);
  EXPECT_EQ(OpenUtf8File("", "rb"), nullptr);
  EXPECT_FALSE(MakeUtf8Dir(""));
}

TEST(Utf8Path, TheModuleFindsItsOwnFile) {
  const std::string self = ThisModulePath();
  ASSERT_FALSE(self.empty());
  EXPECT_NE(self.find("base_Utf8PathTest"), std::string::npos) << self;
  FILE* f = OpenUtf8File(self.c_str(), "rb");
  ASSERT_TRUE(f) << self;
  std::fclose(f);
}
