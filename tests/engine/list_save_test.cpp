// The one way a list reaches the disk: when an existing file is replaced, and what a failure says.
#include "engine/list_save.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "support/scratch_folder.h"
#include "support/wide_path.h"

namespace {

struct SaveCase {
  const char* label;
  bool exists;
  bool overwrite;
  std::optional<bool> answer;  // the question's answer; nullopt: nobody to ask
  TSaveOutcome outcome;
  bool asked;
};

TEST(ListSave, AnExistingFileIsReplacedOnlyWhenOverwriteOrTheAnswerSaysSo) {
  const SaveCase cases[] = {
      {"a new file", false, false, std::nullopt, TSaveOutcome::Saved, false},
      {"no one to ask", true, false, std::nullopt, TSaveOutcome::Kept, false},
      {"asked: yes", true, false, true, TSaveOutcome::Saved, true},
      {"asked: no", true, false, false, TSaveOutcome::Kept, true},
      {"overwrite, not asked", true, true, false, TSaveOutcome::Saved, false},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.label);
    const ScratchFolder folder;
    const std::string path = folder.File("a.md5");
    if (c.exists) folder.AddFile("a.md5", "old");
    bool asked = false;
    TAskOverwrite ask;
    if (c.answer) {
      ask = [&](const std::string& question) {
        EXPECT_EQ(question, path);
        asked = true;
        return *c.answer;
      };
    }
    EXPECT_EQ(SaveListBytes(path, "new", c.overwrite, ask), c.outcome);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(folder.Read("a.md5"), c.outcome == TSaveOutcome::Saved ? "new" : "old");
  }
}

TEST(ListSave, AReadOnlyFileOrAMissingFolderCannotBeCreated) {
  const ScratchFolder folder;
  const std::string kept = folder.AddFile("kept.md5", "old");
  SetFileAttributesW(W(kept).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(SaveListBytes(kept, "new", true), TSaveOutcome::CannotCreate);
  EXPECT_EQ(folder.Read("kept.md5"), "old");
  SetFileAttributesW(W(kept).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(SaveListBytes(folder.File("gone\\a.md5"), "new", true), TSaveOutcome::CannotCreate);
}

}  // namespace
