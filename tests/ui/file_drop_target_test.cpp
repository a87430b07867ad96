#include "ui/file_drop_target.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/drop_support.h"
#include "support/hook_probes.h"
#include "support/scratch_folder.h"
#include "ui/application.h"
#include "ui/text.h"

using droptest::DropBlockAlive;
using droptest::DropFiles;
using droptest::PostDrop;
using droptest::PumpMessages;
using hooktest::AcceptsFiles;
using hooktest::ProbeForm;
using hooktest::ProbePanel;

namespace {

struct DropRecord {
  TDropDst* sender = nullptr;
  std::vector<std::string> files;
  int x = -1, y = -1;
};

class DropDstTest : public testing::Test {
 protected:
  void SetUp() override {
    dst_.SetControl(&panel_);
    dst_.SetTarget(htControl);
    dst_.Loaded();
  }
  TFileDropEvent Recorder() {
    return [this](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
      drops_.push_back(DropRecord{sender, files, x, y});
    };
  }

  ProbeForm form_{ui::FormArgs{.caption = u8"drop test", .width = 320, .height = 240}};
  ProbePanel panel_{
      ui::PanelArgs{.parent = &form_, .caption = u8"drop here", .left = 8, .top = 8, .width = 144, .height = 120}};
  TDropDst dst_{&form_};
  std::vector<DropRecord> drops_;
  hooktest::MessageBoxRecorder recorder_;
  std::vector<ui::MessageBoxRequest>& boxes_ = recorder_.boxes;
};

TEST_F(DropDstTest, DeliversThePathsInTheShellsOrderWithThePoint) {
  ScratchFolder folder;
  const std::string b = folder.AddFile("b.txt", "b");
  const std::string a = folder.AddFile("a.txt", "a");
  const std::string sub = folder.AddFolder("sub");
  const std::string sjis = folder.AddFile("\xE8\xA1\xA8.txt", "x");  // 表.txt, trail byte 0x5C
  dst_.OnFileDrop = Recorder();

  ASSERT_TRUE(DropFiles(panel_.Handle(), {b, a, sub, sjis}, POINT{17, 23})) << "the drop was not finished";

  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0].sender, &dst_);
  EXPECT_EQ(drops_[0].files, (std::vector<std::string>{b, a, sub, sjis}));
  EXPECT_EQ(drops_[0].x, 17);
  EXPECT_EQ(drops_[0].y, 23);
  EXPECT_EQ(panel_.log.dropMessages, 0) << "WM_DROPFILES went on to the panel";
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DropDstTest, OtherMessagesStillReachTheControl) {
  EXPECT_EQ(hooktest::SendProbe(panel_.Handle(), 5, 6), hooktest::kProbeAnswer);
  ASSERT_EQ(panel_.log.probes.size(), 1u);
  EXPECT_EQ(panel_.log.probes[0], std::make_pair(WPARAM{5}, LPARAM{6}));
}

TEST_F(DropDstTest, HtFormTargetTakesDropsOnTheForm) {
  TDropDst formDst(&form_);
  formDst.SetTarget(htForm);
  formDst.Loaded();
  formDst.OnFileDrop = Recorder();
  EXPECT_TRUE(AcceptsFiles(form_.Handle()));

  ASSERT_TRUE(DropFiles(form_.Handle(), {"C:\\x.txt"}, POINT{200, 150}));
  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0].sender, &formDst);
  EXPECT_EQ(drops_[0].files, (std::vector<std::string>{"C:\\x.txt"}));
  EXPECT_EQ(drops_[0].x, 200);
  EXPECT_EQ(drops_[0].y, 150);
  EXPECT_EQ(form_.log.dropMessages, 0);
}

class DropDstNameLengthTest : public DropDstTest, public testing::WithParamInterface<std::size_t> {};

// Every name arrives whole, whatever its length: a long path is a path like any other.
TEST_P(DropDstNameLengthTest, NamesOfAnyLengthArriveWhole) {
  const std::string name = "C:\\" + std::string(GetParam() - 3, 'n') + "\xE8\xA1\xA8";  // ...表
  dst_.OnFileDrop = Recorder();
  ASSERT_TRUE(DropFiles(panel_.Handle(), {"C:\\first", name, "C:\\last"}, POINT{1, 1}));
  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0].files, (std::vector<std::string>{"C:\\first", name, "C:\\last"}));
}

INSTANTIATE_TEST_SUITE_P(Lengths, DropDstNameLengthTest, testing::Values(259, 260, 600, 32000),
                         [](const testing::TestParamInfo<std::size_t>& param) {
                           return "Chars" + std::to_string(param.param);
                         });

TEST_F(DropDstTest, WithoutAHandlerTheDropIsFinished) {
  EXPECT_TRUE(DropFiles(panel_.Handle(), {"C:\\a"}, POINT{1, 2}));
  EXPECT_EQ(panel_.log.dropMessages, 0);
}

TEST_F(DropDstTest, AnErrorOfTheHandlerIsShownAndTheNextDropWorks) {
  const std::string message = ui::Utf8(u8"ファイル C:\\x.crc を作成できません");
  dst_.OnFileDrop = [&](TDropDst*, std::vector<std::string>&, int, int) { throw std::runtime_error(message); };

  ASSERT_TRUE(DropFiles(panel_.Handle(), {"C:\\a"}, POINT{1, 2})) << "a failing handler left the drop unfinished";
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, ui::WideFromUtf8(message));
  EXPECT_EQ(boxes_[0].caption, ui::App().WideTitle());
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, UINT{MB_ICONERROR});

  EXPECT_TRUE(AcceptsFiles(panel_.Handle()));
  dst_.OnFileDrop = Recorder();
  ASSERT_TRUE(DropFiles(panel_.Handle(), {"C:\\b"}, POINT{3, 4}));
  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0].files, (std::vector<std::string>{"C:\\b"}));
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(DropDstTest, AcceptDropRegistersAndUnregisters) {
  EXPECT_TRUE(dst_.AcceptDrop());
  EXPECT_TRUE(AcceptsFiles(panel_.Handle()));
  dst_.SetAcceptDrop(false);
  EXPECT_FALSE(AcceptsFiles(panel_.Handle()));
  dst_.SetAcceptDrop(false);
  EXPECT_FALSE(AcceptsFiles(panel_.Handle()));
  dst_.SetAcceptDrop(true);
  EXPECT_TRUE(AcceptsFiles(panel_.Handle()));
}

TEST_F(DropDstTest, RegistrationWaitsForLoaded) {
  ProbePanel other(ui::PanelArgs{.parent = &form_, .caption = u8"other", .top = 130, .width = 60, .height = 40});
  TDropDst late(&form_);
  late.SetControl(&other);
  EXPECT_FALSE(AcceptsFiles(other.Handle()));
  late.Loaded();
  EXPECT_TRUE(AcceptsFiles(other.Handle()));
}

TEST_F(DropDstTest, ANewWindowIsRegisteredAgain) {
  for (ui::Control* recreated : {static_cast<ui::Control*>(&panel_), static_cast<ui::Control*>(&form_)}) {
    SCOPED_TRACE(recreated == &panel_ ? "panel re-created" : "form re-created");
    drops_.clear();
    const HWND oldWindow = panel_.Handle();
    recreated->RecreateWindow();
    ASSERT_NE(panel_.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(oldWindow));
    EXPECT_EQ(dst_.WindowHandle(), panel_.Handle());
    EXPECT_TRUE(AcceptsFiles(panel_.Handle()));

    dst_.OnFileDrop = Recorder();
    ASSERT_TRUE(DropFiles(panel_.Handle(), {"C:\\after"}, POINT{9, 9}));
    ASSERT_EQ(drops_.size(), 1u);
    EXPECT_EQ(drops_[0].files, (std::vector<std::string>{"C:\\after"}));
  }
}

// Hooking a window made on demand does not make it; once made, it takes drops.
TEST_F(DropDstTest, AWindowMadeOnDemandIsRegisteredWhenMade) {
  for (const THookTarget target : {htForm, htControl}) {
    SCOPED_TRACE(target == htForm ? "form" : "control");
    ProbeForm later(ui::FormArgs{.caption = u8"later", .width = 200, .height = 150, .windowOnDemand = true});
    ProbePanel panel(ui::PanelArgs{.parent = &later, .caption = u8"drop", .width = 100, .height = 80});
    TDropDst dst(&later);
    dst.SetTarget(target);
    if (target == htControl) dst.SetControl(&panel);
    dst.Loaded();
    dst.OnFileDrop = Recorder();
    EXPECT_FALSE(later.HandleAllocated());
    EXPECT_FALSE(panel.HandleAllocated());

    ui::Control& hooked = target == htForm ? static_cast<ui::Control&>(later) : panel;
    const HWND window = hooked.Handle();
    PumpMessages();
    EXPECT_EQ(dst.WindowHandle(), window);
    EXPECT_TRUE(AcceptsFiles(window));
    drops_.clear();
    ASSERT_TRUE(DropFiles(window, {"C:\\made"}, POINT{5, 5}));
    ASSERT_EQ(drops_.size(), 1u);
    EXPECT_EQ(drops_[0].files, (std::vector<std::string>{"C:\\made"}));
  }
}

TEST_F(DropDstTest, UnregisteredStaysUnregisteredAcrossRecreation) {
  dst_.SetAcceptDrop(false);
  form_.RecreateWindow();
  EXPECT_EQ(dst_.WindowHandle(), panel_.Handle());
  EXPECT_FALSE(AcceptsFiles(panel_.Handle()));
}

TEST_F(DropDstTest, ADropDuringTheHandlerIsHandledInsideIt) {
  std::vector<std::string> trace;
  HGLOBAL inner = nullptr;
  dst_.OnFileDrop = [&](TDropDst*, std::vector<std::string>& files, int, int) {
    trace.push_back("begin " + files.front());
    if (files.front() == "C:\\outer") {
      // As a long run does: queued messages run while the handler works.
      inner = PostDrop(panel_.Handle(), {"C:\\inner"}, POINT{2, 2});
      for (int round = 0; round < 100 && DropBlockAlive(inner); ++round) PumpMessages();
      trace.push_back(DropBlockAlive(inner) ? "inner pending" : "inner finished");
    }
    trace.push_back("end " + files.front());
  };
  ASSERT_TRUE(DropFiles(panel_.Handle(), {"C:\\outer"}, POINT{1, 1}));
  EXPECT_EQ(trace, (std::vector<std::string>{"begin C:\\outer", "begin C:\\inner", "end C:\\inner", "inner finished",
                                             "end C:\\outer"}));
}

}  // namespace
