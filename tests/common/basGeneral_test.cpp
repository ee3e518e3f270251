#include "common/basGeneral.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Services.h"
#include "platform/fake/RecordingMessageBox.h"

namespace {

using namespace basGeneral;

TEST(Paths, PathSlashRemovesOrAddsOneTrailingSeparator) {
  EXPECT_EQ(PathSlash("/dir/", 0), "/dir");
  EXPECT_EQ(PathSlash("/dir//", 0), "/dir/");
  EXPECT_EQ(PathSlash("/dir", 0), "/dir");
  EXPECT_EQ(PathSlash("/dir", 1), "/dir/");
  EXPECT_EQ(PathSlash("/dir/", 1), "/dir/");
  EXPECT_EQ(PathSlash("", 1), "");
  EXPECT_EQ(PathSlash("/dir", 2), "");
}

TEST(Paths, FileNamePartCountsAColonAsSeparatorOnlyInLongPaths) {
  EXPECT_EQ(FileNamePart("/a/b/name.ext"), "name.ext");
  EXPECT_EQ(FileNamePart("name.ext"), "name.ext");
  EXPECT_EQ(FileNamePart("/a/b/"), "");
  EXPECT_EQ(FileNamePart("/a/x:name.ext"), "x:name.ext");
  const std::string longPath = "/" + std::string(100, 'd') + "/sub/name.ext";
  EXPECT_EQ(FileNamePart(longPath), "name.ext");
  EXPECT_EQ(FileNamePart("/" + std::string(100, 'd') + "/x:name.ext"), "name.ext");
  // Characters, not bytes: 60 kanji are 180 bytes but only 60 characters.
  std::string kanji;
  for (int i = 0; i < 60; ++i) kanji += "字";
  EXPECT_EQ(FileNamePart("/" + kanji + "/x:y"), "x:y");
}

TEST(Paths, ParentFolderClimbsLevelsAndStopsAtTheRoot) {
  EXPECT_EQ(ParentFolder("/a/b/file.txt", 0), "/a/b/");
  EXPECT_EQ(ParentFolder("/a/b/file.txt", 1), "/a/");
  EXPECT_EQ(ParentFolder("/a/b/file.txt", 2), "/");
  EXPECT_EQ(ParentFolder("/a/b/file.txt", 3), "");
  EXPECT_EQ(ParentFolder("/a/b/", 0), "/a/b/");
  EXPECT_EQ(ParentFolder("/a/b/", 1), "/a/");
  EXPECT_EQ(ParentFolder("file.txt", 0), "");
  EXPECT_EQ(ParentFolder("", 0), "");
  EXPECT_EQ(ParentFolder("/a/b/file.txt", -1), "");
  // Drive-style paths keep their rule: nothing above the drive.
  EXPECT_EQ(ParentFolder("C:/a/file.txt", 1), "C:/");
  EXPECT_EQ(ParentFolder("C:/a/file.txt", 2), "");
}

TEST(Paths, PathExistsTellsFilesFromFolders) {
  const auto dir = std::filesystem::temp_directory_path() / "kelvora_pathexists";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "f.txt") << "x";
  EXPECT_EQ(PathExists("", true), 1);
  EXPECT_EQ(PathExists(dir.string(), true), -1);
  EXPECT_EQ(PathExists(dir.string() + "/", true), -1);
  EXPECT_EQ(PathExists(dir.string(), false), 0);
  EXPECT_EQ(PathExists((dir / "f.txt").string(), false), -1);
  EXPECT_EQ(PathExists((dir / "f.txt").string(), true), 0);
  EXPECT_EQ(PathExists((dir / "none").string(), false), 0);
}

TEST(Numbers, NumericOrZeroTakesNumbersAndNothingElse) {
  EXPECT_EQ(NumericOrZero(" 7 "), 7);
  EXPECT_EQ(NumericOrZero("-1"), -1);
  EXPECT_EQ(NumericOrZero("12"), 12);
  EXPECT_EQ(NumericOrZero("1.5"), 1.5);
  EXPECT_EQ(NumericOrZero("-2147483630"), -2147483630.0);
  EXPECT_EQ(NumericOrZero("&H10"), 16);
  EXPECT_EQ(NumericOrZero("1e3"), 1000);
  EXPECT_EQ(NumericOrZero(""), 0);
  EXPECT_EQ(NumericOrZero("True"), 0);
  EXPECT_EQ(NumericOrZero("abc"), 0);
  EXPECT_EQ(NumericOrZero("12abc"), 0);
  EXPECT_EQ(NumericOrZero("-"), 0);
  EXPECT_EQ(NumericOrZero("1e"), 0);
}

TEST(Numbers, ReadNumberReadsDigitsOrTheWholeRest) {
  int32_t pos = 2;
  EXPECT_EQ(ReadNumber("T120", pos), 120);
  EXPECT_EQ(pos, 5);
  pos = 2;
  EXPECT_EQ(ReadNumber("L8C", pos), 8);
  EXPECT_EQ(pos, 3);
  pos = 2;
  EXPECT_EQ(ReadNumber("CD", pos), 0);  // a letter: the rest "D" is no number
  EXPECT_EQ(pos, 3);
  pos = 5;
  EXPECT_EQ(ReadNumber("T120", pos), 0);  // past the end
  EXPECT_EQ(pos, 6);
}

TEST(Values, ToggleTrimAndArrays) {
  EXPECT_EQ(ToggleValue(0, 0, 3), 3);
  EXPECT_EQ(ToggleValue(3, 0, 3), 0);
  EXPECT_EQ(ToggleValue(5, 0, 3), 0);
  EXPECT_EQ(TrimAtNul(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(TrimAtNul("abc"), "abc");

  std::vector<int> target{9};
  EXPECT_TRUE(ArrayCopy(target, std::vector<int>{1, 2}, 1));
  EXPECT_EQ(target, (std::vector<int>{9, 1, 2}));
  EXPECT_FALSE(ArrayCopy(target, std::vector<int>{1}, -1));
  EXPECT_EQ(ArrayUpperBound(target), 2);
  EXPECT_EQ(ArrayUpperBound(std::vector<int>{}), -1);
  EXPECT_EQ(ArrayUpperBound(42), -1);
}

TEST(Screen, TwipsPerPixelIsFifteenAtNinetySixDotsPerInch) {
  EXPECT_EQ(TwipsPerPixelX(0), 15);
  EXPECT_EQ(TwipsPerPixelY(0), 15);
  EXPECT_EQ(TwipsPerPixelX(1), 15);
}

TEST(Errors, ReportErrorShowsNumberDescriptionAndSourceWithACriticalIcon) {
  platform::RecordingMessageBox box;
  try {
    platform::RaiseError(platform::errOverflow);
  } catch (const platform::RuntimeError& e) {
    ReportError(e);
  }
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, "Number: 6\n Description: オーバーフローしました。\n Source: Kelvora");
  EXPECT_EQ(box.Calls[0].Style, platform::vbCritical);
  EXPECT_EQ(box.Calls[0].Title, "Kelvora");
}

TEST(Windows, CenterFormCentresOnTheReferenceOrTheScreen) {
  auto ref = platform::Controls().CreateForm({"frmRef", "ref"});
  auto win = platform::Controls().CreateForm({"frmWin", "win"});
  ref->Move(1500, 3000, 6000, 4500);
  win->Move(0, 0, 3000, 1500);
  CenterForm(*win, ref.get());
  EXPECT_DOUBLE_EQ(win->Left(), 1500 + 1500);
  EXPECT_DOUBLE_EQ(win->Top(), 3000 + 1500);
  win->Move(0, 0, 9000, 1500);  // wider than the reference: the screen
  CenterForm(*win, ref.get());
  EXPECT_DOUBLE_EQ(win->Left(), (platform::Screen().Width() - 9000) / 2);
}

}  // namespace
