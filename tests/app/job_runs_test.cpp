// Runs of the two job windows at once, the inner one started in a message round of the outer (as
// a drop on the other window starts it), each held at its second file: Esc or closing in one
// window stops only that window's runs, and closing the main window stops them all and ends the
// program with no worker left.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/main_form.h"
#include "calc_support.h"
#include "compare_support.h"
#include "support/job_gate.h"
#include "support/thread_count.h"
#include "ui/application.h"
#include "ui/text.h"
#include "win/folder.h"

namespace calctest {
namespace {

constexpr UINT kStartInner = WM_APP + 0x51;
constexpr UINT kOpenGate = WM_APP + 0x52;

enum class Window { Creation, Verification };

Window Other(Window window) { return window == Window::Creation ? Window::Verification : Window::Creation; }

ui::Form& FormOf(Window window) {
  if (window == Window::Creation) return *CalcForm;
  return *CompareForm;
}

TListPage* ActivePageOf(Window window) {
  if (window == Window::Creation) return CalcForm->ActiveFrame();
  return CompareForm->ActiveFrame();
}

// Whether the caption is the one a window shows once its page's run is about to start.
bool IsRunCaption(Window window, const std::string& caption) {
  if (window == Window::Creation) return caption.starts_with("Ruvo - Calc - Wait - ");
  return caption.ends_with(" - Compare - Wait - Ruvo");
}

// Calls `then` once, when the window's page turns to its second file. Every status text shows.
class AtSecondFile {
 public:
  AtSecondFile(Window window, std::function<void()> then)
      : caption_(FormOf(window),
                 [this, window](ui::Message& message) {
                   if (status_ || !IsRunCaption(window, SetTextOf(message))) return;
                   status_.emplace(ActivePageOf(window)->StatusBar, [this](ui::Message& status) {
                     if (fired_ || PanelTextOf(status, 0) != "2/3") return;
                     fired_ = true;
                     then_();
                   });
                 }),
        then_(std::move(then)) {}
  [[nodiscard]] bool Fired() const { return fired_; }

 private:
  const EveryStatusText everyText_;
  std::optional<SlotTap> status_;
  SlotTap caption_;
  std::function<void()> then_;
  bool fired_ = false;
};

class JobRunsTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    for (const std::string name : {"1", "2", "3"}) {
      Put("c\\" + name + ".txt", name);
      Put("v\\" + name + ".txt", name);
    }
    list_ = Put("v\\three.md5",
                "c4ca4238a0b923820dcc509a6f75849b  1.txt\n"
                "c81e728d9d4c2f636f067f89cc14862c  2.txt\n"
                "eccbc87e4b5ce2fe28308fd9f2a7baf3  3.txt\n");
  }
  void TearDown() override {
    comparetest::ResetCompareForm();
    CalcTest::TearDown();
  }

  void Start(Window window) {
    if (window == Window::Creation) {
      Calc({Root() + "c"});
      return;
    }
    std::vector<std::string> paths{list_};
    CompareForm->CompareFiles(paths);
  }

  // The window's one page ran to its end (every row, and correct), or ended cancelled.
  static void ExpectWhole(Window window) {
    if (window == Window::Creation) {
      ASSERT_EQ(CalcForm->PageCount(), 1);
      EXPECT_EQ(CalcForm->Frame(0)->StateText(), kDone);
      EXPECT_EQ(CalcForm->Frame(0)->Entries.size(), 3u);
      return;
    }
    ASSERT_EQ(CompareForm->PageCount(), 1);
    EXPECT_EQ(CompareForm->Frame(0)->StateText(), ui::Utf8(u8"完了"));
    EXPECT_EQ(CompareForm->Frame(0)->SummaryText(), ui::Utf8(u8"3ファイル (正常 : 3  異常 : 0)"));
  }
  static void ExpectCancelled(Window window) {
    const TListPage* page = window == Window::Creation ? static_cast<TListPage*>(CalcForm->Frame(0))
                                                       : static_cast<TListPage*>(CompareForm->Frame(0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->StateText(), kCancelled);
  }

  // Starts the outer window's run; at its second file the inner window's run starts, and at the
  // inner run's second file `act` runs, then both held files are let go.
  void RunNested(Window outer, const std::function<void()>& act) {
    const Window inner = Other(outer);
    JobGate gate(1);
    SlotTap messages(FormOf(outer), [&](ui::Message& message) {
      if (message.msg == kStartInner) Start(inner);
      if (message.msg == kOpenGate) gate.Open();
    });
    const AtSecondFile outerHeld(outer, [outer] { PostMessageW(FormOf(outer).Handle(), kStartInner, 0, 0); });
    const AtSecondFile innerHeld(inner, [&] {
      act();
      PostMessageW(FormOf(outer).Handle(), kOpenGate, 0, 0);
    });
    Start(outer);
    ASSERT_TRUE(outerHeld.Fired());
    ASSERT_TRUE(innerHeld.Fired());
  }

  std::string list_;
};

enum class Action { Esc, Close };

struct NestedCase {
  Window outer;
  bool onOuter;  // the action comes to the outer window, else to the inner one
  Action action;
};

class NestedRunsTest : public JobRunsTest, public testing::WithParamInterface<NestedCase> {};

// Only the window that got the Esc or was closed stops its run; the other one's run, outer or
// inner, goes on to its end.
TEST_P(NestedRunsTest, OnlyTheWindowActedOnStopsItsRun) {
  const NestedCase c = GetParam();
  const Window acted = c.onOuter ? c.outer : Other(c.outer);
  RunNested(c.outer, [&] {
    if (c.action == Action::Esc) {
      PostMessageW(ActivePageOf(acted)->ListView.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    } else {
      PostMessageW(FormOf(acted).Handle(), WM_CLOSE, 0, 0);
    }
  });
  ExpectCancelled(acted);
  ExpectWhole(Other(acted));
  EXPECT_FALSE(CalcForm->InIntake());
  EXPECT_FALSE(CompareForm->InIntake());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, NestedRunsTest,
                         testing::Values(NestedCase{Window::Creation, true, Action::Esc},
                                         NestedCase{Window::Creation, false, Action::Close},
                                         NestedCase{Window::Verification, true, Action::Close},
                                         NestedCase{Window::Verification, false, Action::Esc}));

// A cancel made in one window is not taken back by an intake that starts in the other window
// afterwards: the outer run, cancelled first, still ends cancelled.
TEST_F(JobRunsTest, ACancelSurvivesAnIntakeStartedInTheOtherWindow) {
  JobGate gate(1);
  SlotTap messages(*CalcForm, [&](ui::Message& message) {
    if (message.msg != kStartInner) return;
    CalcForm->MenuCancelClick();
    gate.Open();
    Start(Window::Verification);
  });
  const AtSecondFile held(Window::Creation, [] { PostMessageW(CalcForm->Handle(), kStartInner, 0, 0); });
  Start(Window::Creation);
  ASSERT_TRUE(held.Fired());
  ExpectWhole(Window::Verification);
  ExpectCancelled(Window::Creation);
}

// Nested intakes in one window: Esc cancels until the outermost has ended, not only until the
// inner one has.
TEST_F(JobRunsTest, NestedIntakesKeepEscAsCancelUntilTheOuterEnds) {
  JobGate gate(1);
  SlotTap messages(*CalcForm, [&](ui::Message& message) {
    if (message.msg == kStartInner) {
      gate.Open();
      std::vector<std::string> paths{Put("d\\4.txt", "4")};
      CalcForm->CalcFiles(paths);
      // The inner intake is over, the outer one goes on: Esc must still cancel it.
      PostMessageW(CalcForm->ActiveFrame()->ListView.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }
  });
  const AtSecondFile held(Window::Creation, [] { PostMessageW(CalcForm->Handle(), kStartInner, 0, 0); });
  Start(Window::Creation);
  ASSERT_TRUE(held.Fired());
  ASSERT_EQ(CalcForm->PageCount(), 2);
  EXPECT_EQ(CalcForm->Frame(0)->StateText(), kCancelled);
  EXPECT_EQ(CalcForm->Frame(1)->StateText(), kDone);
  EXPECT_TRUE(CalcForm->Visible()) << "Esc cancelled; it did not close the window";
}

// Closing the main window during runs of both job windows stops both, saves nothing, leaves no
// worker and ends the program's loop.
TEST_F(JobRunsTest, ClosingTheMainWindowStopsEveryRunAndEndsTheProgram) {
  MainForm->Show();
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  const int threadsBefore = ThreadCount();
  RunNested(Window::Creation, [] { PostMessageW(MainForm->Handle(), WM_CLOSE, 0, 0); });
  ExpectCancelled(Window::Creation);
  ExpectCancelled(Window::Verification);
  EXPECT_TRUE(ui::App().Terminated());
  EXPECT_FALSE(MainForm->Visible());
  EXPECT_EQ(ThreadCount(), threadsBefore) << "a worker outlived its run";
  EXPECT_EQ(win::ListFolder(Root() + "c\\", false).files.size(), 3u) << "no list was saved";
  ui::App().ResetTerminated();
}

}  // namespace
}  // namespace calctest
