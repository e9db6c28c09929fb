// The remembered editor size: written and read back, its folder made on the way, and every kind of
// damage read as "nothing remembered" rather than an error or a wild size.
#include "graphics/GraphicsTestSupport.h"
#include "plugin/EditorSizeControl.h"
#include "plugin/EditorSizeMemory.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(EditorSize, RememberedAcrossReadsAndDamageMeansNone) {
  const std::string dir = ::testing::TempDir() + "qv-size-" + std::to_string(getpid());
  const std::string file = dir + "/deeper/editor.conf";
  EXPECT_EQ(ReadEditorScaleFile(file), 0.0);
  ASSERT_TRUE(WriteEditorScaleFile(file, 1.75));
  EXPECT_EQ(ReadEditorScaleFile(file), 1.75);
  ASSERT_TRUE(WriteEditorScaleFile(file, 1.5));
  EXPECT_EQ(ReadEditorScaleFile(file), 1.5);

  for (const char* damaged : {"scale=7\n", "scale=nan\n", "scale=1.5x\n", "garbage", "", "scale=\n"}) {
    FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs(damaged, f);
    std::fclose(f);
    EXPECT_EQ(ReadEditorScaleFile(file), 0.0) << damaged;
  }
  // A file where the folder should be: nothing written, nothing thrown.
  EXPECT_FALSE(WriteEditorScaleFile(file + "/below", 1.25));
  std::filesystem::remove_all(dir);

#if !defined(_WIN32)
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  EXPECT_EQ(EditorSizeFile(), dir + "/Quorvane/editor.conf");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // ignored, as the base directory rules say
  EXPECT_NE(EditorSizeFile().find("/.config/Quorvane/"), std::string::npos);
  unsetenv("XDG_CONFIG_HOME");
#endif

  EXPECT_EQ(EditorSizeControl::ItemForScale(1.0), 0);
  EXPECT_EQ(EditorSizeControl::ItemForScale(1.6), 2);
  EXPECT_EQ(EditorSizeControl::ItemForScale(2.0), 4);
}

TEST(EditorSize, TheMenuGreysOutSizesTheScreenCannotShow) {
  EditorFixture ed(4, 664, 662);
  ed.gui->AttachControl(new EditorSizeControl(&ed.plug, IRECT(10, 10, 60, 30)));
  ed.Attach();
  ed.gui->OpenWindow(nullptr);
  ed.gui->SetScreenWorkArea(1600, 900);
  IMouseMod left(true, false);
  ed.gui->QueueMenuChoice(4);  // 200 %: greyed out, so nothing is chosen
  ed.gui->OnMouseDown(20, 20, &left);
  ASSERT_EQ(ed.gui->Menus().size(), 1u);
  EXPECT_EQ(ed.gui->Menus()[0].mEnabled, (std::vector<bool>{true, true, false, false, false}));
  EXPECT_EQ(ed.gui->GetScale(), 1.0);
  ed.gui->QueueMenuChoice(1);
  ed.gui->OnMouseDown(20, 20, &left);
  EXPECT_EQ(ed.gui->GetScale(), 1.25);
}

// User folders are often named outside ASCII ("Jörg", "음악"); Windows names files in UTF-16, and
// its narrow calls would read the UTF-8 name in the user's code page and miss the folder.
TEST(EditorSize, KeptInFoldersNamedOutsideAscii) {
  const std::string dir =
      ::testing::TempDir() + "qv-size-J\xC3\xB6rg-\xEC\x9D\x8C\xEC\x95\x85-" + std::to_string(getpid());
  const std::filesystem::path folder = std::filesystem::u8path(dir);
  ASSERT_TRUE(WriteEditorScaleFile(dir + "/Quorvane/editor.conf", 1.25));
  EXPECT_TRUE(std::filesystem::exists(folder / "Quorvane" / "editor.conf"));
  EXPECT_EQ(ReadEditorScaleFile(dir + "/Quorvane/editor.conf"), 1.25);
#if defined(_WIN32)
  // The per-user file lives under %APPDATA%, read as UTF-16.
  ASSERT_EQ(_wputenv_s(L"APPDATA", folder.wstring().c_str()), 0);
  EXPECT_EQ(EditorSizeFile(), dir + "\\Quorvane\\editor.conf");
  ASSERT_TRUE(SaveEditorScale(1.5));
  EXPECT_EQ(LoadEditorScale(), 1.5);
  EXPECT_TRUE(std::filesystem::exists(folder / "Quorvane" / "editor.conf"));
#endif
  std::filesystem::remove_all(folder);
}

}  // namespace
