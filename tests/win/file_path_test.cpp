#include "win/file_path.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch_folder.h"

namespace {

// Runs in a scratch folder as the current folder, and puts the old one back after.
class AbsolutePathTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t old[MAX_PATH] = {};
    old_.assign(old, GetCurrentDirectoryW(MAX_PATH, old));
    ASSERT_TRUE(SetCurrentDirectoryW(W(folder_.Path()).c_str()));
  }
  void TearDown() override { SetCurrentDirectoryW(old_.c_str()); }

  // The scratch folder's parent, with its trailing "\".
  std::string Parent() const {
    const std::string& here = folder_.Path();
    return here.substr(0, here.find_last_of('\\', here.size() - 2) + 1);
  }

  ScratchFolder folder_;
  std::wstring old_;
};

TEST_F(AbsolutePathTest, RelativePathsStartInTheCurrentFolder) {
  const std::string& here = folder_.Path();  // with its trailing "\"
  const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\" + std::string(120, 'f');
  const std::pair<std::string, std::string> cases[] = {
      {"a.txt", here + "a.txt"},
      {".\\a.txt", here + "a.txt"},
      {"sub\\b.txt", here + "sub\\b.txt"},
      {"sub/b.txt", here + "sub\\b.txt"},
      {"sub\\..\\a.txt", here + "a.txt"},
      {"..\\x\\a.txt", Parent() + "x\\a.txt"},
      {".", here.substr(0, here.size() - 1)},
      {"sub\\", here + "sub\\"},
      {"\xE8\xA1\xA8\\\xE3\x82\xBD.txt", here + "\xE8\xA1\xA8\\\xE3\x82\xBD.txt"},  // 表\ソ.txt
      {deep, here + deep},                                                          // the result is beyond MAX_PATH
  };
  for (const auto& [path, absolute] : cases) EXPECT_EQ(win::AbsolutePath(path), absolute) << path;
}

TEST_F(AbsolutePathTest, AbsolutePathsStay) {
  const std::string cases[] = {
      "C:\\data\\a.txt",
      "\\\\server\\share\\a.txt",
      "\\\\?\\C:\\data\\..\\a.txt",  // the extended form is taken literally
      "C:\\" + std::string(300, 'x') + "\\a.txt",
      "",
  };
  for (const std::string& path : cases) EXPECT_EQ(win::AbsolutePath(path), path) << path;
}

}  // namespace
