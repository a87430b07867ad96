// Which file plays or which beep sounds for each kind, with and without the "sounds" folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program_fixture.h"
#include "support/wide_path.h"
#include "ui/application.h"

namespace {

struct Heard {
  std::vector<std::string> files;
  std::vector<UINT> beeps;
};

class SoundsTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    MainForm->SoundBaseFolder = folder_.Path();
    MainForm->PlaySoundFile = [this](const std::string& path) { heard_.files.push_back(path); };
    MainForm->Beep = [this](UINT type) { heard_.beeps.push_back(type); };
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  Heard Play(TSoundKind kind) {
    heard_ = {};
    MainForm->PlayCompletionSound(kind);
    return heard_;
  }

  apptest::TempFolder folder_;
  Heard heard_;
};

TEST_F(SoundsTest, WithoutSoundsFolderEveryKindBeeps) {
  const std::pair<TSoundKind, UINT> cases[] = {{TSoundKind::skDone, MB_OK},
                                               {TSoundKind::skCancel, MB_ICONEXCLAMATION},
                                               {TSoundKind::skQuestion, MB_ICONEXCLAMATION},
                                               {TSoundKind::skError, MB_ICONEXCLAMATION}};
  for (auto [kind, beep] : cases) {
    Heard heard = Play(kind);
    EXPECT_TRUE(heard.files.empty());
    EXPECT_EQ(heard.beeps, std::vector<UINT>{beep}) << "kind " << static_cast<int>(kind);
  }
}

TEST_F(SoundsTest, FilePresentPlaysItOthersStillBeep) {
  folder_.Write("sounds\\done.wav", "RIFF");
  folder_.Write("sounds\\error.wav", "RIFF");
  // A folder with a sound's name is no sound file.
  CreateDirectoryW(W(folder_.File("sounds\\question.wav")).c_str(), nullptr);

  Heard done = Play(TSoundKind::skDone);
  EXPECT_EQ(done.files, std::vector<std::string>{folder_.File("sounds\\done.wav")});
  EXPECT_TRUE(done.beeps.empty());

  Heard error = Play(TSoundKind::skError);
  EXPECT_EQ(error.files, std::vector<std::string>{folder_.File("sounds\\error.wav")});

  Heard cancel = Play(TSoundKind::skCancel);
  EXPECT_TRUE(cancel.files.empty());
  EXPECT_EQ(cancel.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});

  Heard question = Play(TSoundKind::skQuestion);
  EXPECT_TRUE(question.files.empty());
  EXPECT_EQ(question.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
}

TEST_F(SoundsTest, QueuedMessagesRunBeforeTheSound) {
  // A message posted to one of the program's windows before the call must have been handled by
  // the time the sound starts.
  bool handled = false;
  bool handledBeforeSound = false;
  ui::Control& target = MainForm->ComparePanel;
  ui::WindowProcSlot saved = target.WindowProc();
  target.WindowProc() = [&](ui::Message& message) {
    if (message.msg == WM_APP + 7) handled = true;
    saved(message);
  };
  MainForm->Beep = [&](UINT) { handledBeforeSound = handled; };
  PostMessageW(target.Handle(), WM_APP + 7, 0, 0);
  MainForm->PlayCompletionSound(TSoundKind::skDone);
  target.WindowProc() = saved;
  EXPECT_TRUE(handledBeforeSound);
}

}  // namespace
