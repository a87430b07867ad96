// The program's four drop targets on its real windows: drops posted as real WM_DROPFILES.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "support/drop_support.h"
#include "support/hook_probes.h"
#include "support/scratch_folder.h"
#include "ui/application.h"
#include "ui/file_drop_target.h"
#include "ui/text.h"

using droptest::DropBlockAlive;
using droptest::DropFiles;
using droptest::PostDrop;
using hooktest::AcceptsFiles;

namespace {

struct ProgramTarget {
  const char* name;
  TDropDst* dst;
  ui::Control* window;  // the control whose window receives the drop
  bool creation;        // the drop ends in CalcFiles, else in CompareFiles
};

std::vector<ProgramTarget> ProgramTargets() {
  return {{"ComparePanel", &MainForm->CompareDropDst, &MainForm->ComparePanel, false},
          {"CalcPanel", &MainForm->CalcDropDst, &MainForm->CalcPanel, true},
          {"CompareForm", &CompareForm->DropDst, CompareForm, false},
          {"CalcForm", &CalcForm->DropDst, CalcForm, true}};
}

// What one run of CalcFiles or CompareFiles received, and the main window as the run saw it.
struct RunRecord {
  bool creation = false;
  std::vector<std::string> paths;
  std::string panelCaption;
  bool panelEnabled = true;
  bool panelWindowEnabled = true;
  bool panelGrey = false;
  bool otherPanelEnabled = true;
  bool preferencesTabVisible = true;
};

// What one drop target's event carried.
struct EventRecord {
  TDropDst* sender = nullptr;
  int x = -1, y = -1;
};

// Records the event of one drop target in front of its real handler, until destroyed.
class EventTap {
 public:
  EventTap(TDropDst& dst, std::vector<EventRecord>& events) : dst_(dst), original_(dst.OnFileDrop) {
    dst.OnFileDrop = [this, &events](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
      events.push_back(EventRecord{sender, x, y});
      original_(sender, files, x, y);
    };
  }
  EventTap(const EventTap&) = delete;
  EventTap& operator=(const EventTap&) = delete;
  ~EventTap() { dst_.OnFileDrop = original_; }

 private:
  TDropDst& dst_;
  TFileDropEvent original_;
};

class ProgramDropTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    apptest::RecordRuns([this](bool creation, std::vector<std::string>& paths) { Record(creation, paths); });
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  void Record(bool creation, const std::vector<std::string>& paths) {
    ui::Panel& panel = creation ? MainForm->CalcPanel : MainForm->ComparePanel;
    ui::Panel& other = creation ? MainForm->ComparePanel : MainForm->CalcPanel;
    runs_.push_back(RunRecord{.creation = creation,
                              .paths = paths,
                              .panelCaption = panel.Caption(),
                              .panelEnabled = panel.Enabled(),
                              .panelWindowEnabled = IsWindowEnabled(panel.Handle()) != FALSE,
                              .panelGrey = panel.FontColor() == ui::Color::System(COLOR_GRAYTEXT),
                              .otherPanelEnabled = other.Enabled(),
                              .preferencesTabVisible = MainForm->PreferencesTabSheet.TabVisible()});
    if (failRuns_) throw std::runtime_error(failMessage_);
  }

  // Drops paths on every target in turn and checks that each arrived where it belongs.
  void ExpectEveryTargetTakesDrops(const std::vector<std::string>& paths) {
    for (const ProgramTarget& target : ProgramTargets()) {
      SCOPED_TRACE(target.name);
      runs_.clear();
      EXPECT_TRUE(AcceptsFiles(target.window->Handle()));
      ASSERT_TRUE(DropFiles(target.window->Handle(), paths, POINT{12, 34}));
      ASSERT_EQ(runs_.size(), 1u);
      EXPECT_EQ(runs_[0].creation, target.creation);
      EXPECT_EQ(runs_[0].paths, paths);
    }
  }

  std::vector<RunRecord> runs_;
  hooktest::MessageBoxRecorder recorder_;
  std::vector<ui::MessageBoxRequest>& boxes_ = recorder_.boxes;
  bool failRuns_ = false;
  std::string failMessage_;
};

TEST_F(ProgramDropTest, TheFourTargetsAreSetUpAsThePanelsAndWindowsNeed) {
  EXPECT_EQ(MainForm->CompareDropDst.Target(), htControl);
  EXPECT_EQ(MainForm->CompareDropDst.Control(), &MainForm->ComparePanel);
  EXPECT_EQ(MainForm->CalcDropDst.Target(), htControl);
  EXPECT_EQ(MainForm->CalcDropDst.Control(), &MainForm->CalcPanel);
  EXPECT_EQ(CompareForm->DropDst.Target(), htForm);
  EXPECT_EQ(CompareForm->DropDst.Control(), nullptr);
  EXPECT_EQ(CalcForm->DropDst.Target(), htForm);
  EXPECT_EQ(CalcForm->DropDst.Control(), nullptr);
  for (const ProgramTarget& target : ProgramTargets()) {
    SCOPED_TRACE(target.name);
    EXPECT_TRUE(target.dst->AcceptDrop());
    EXPECT_EQ(target.dst->HookedControl(), target.window);
    EXPECT_EQ(target.dst->WindowHandle(), target.window->Handle());
    EXPECT_TRUE(AcceptsFiles(target.window->Handle()));
    EXPECT_TRUE(static_cast<bool>(target.dst->OnFileDrop));
  }
}

TEST_F(ProgramDropTest, TwoFilesAndAFolderArriveInOrderWithTheClientPoint) {
  ScratchFolder folder;
  const std::vector<std::string> paths = {folder.AddFile("z.txt", "z"), folder.AddFile("a.txt", "a"),
                                          folder.AddFolder("sub")};
  for (const ProgramTarget& target : ProgramTargets()) {
    SCOPED_TRACE(target.name);
    runs_.clear();
    std::vector<EventRecord> events;
    EventTap tap(*target.dst, events);
    // A point inside the receiving window's client area, in its own client pixels.
    RECT client{};
    GetClientRect(target.window->Handle(), &client);
    const POINT point{client.right / 2 + 1, client.bottom / 3 + 2};

    ASSERT_TRUE(DropFiles(target.window->Handle(), paths, point)) << "the drop was not finished";

    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].sender, target.dst);
    EXPECT_EQ(events[0].x, point.x);
    EXPECT_EQ(events[0].y, point.y);
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_EQ(runs_[0].creation, target.creation);
    EXPECT_EQ(runs_[0].paths, paths);
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ProgramDropTest, EachDropShowsItsPanelBusyAndRestoresIt) {
  const std::string busy = ui::Utf8(u8"処理中");
  for (const ProgramTarget& target : ProgramTargets()) {
    SCOPED_TRACE(target.name);
    runs_.clear();
    ASSERT_TRUE(DropFiles(target.window->Handle(), {"C:\\x.txt"}, POINT{1, 1}));
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_EQ(runs_[0].panelCaption, busy);
    EXPECT_FALSE(runs_[0].panelEnabled);
    EXPECT_FALSE(runs_[0].panelWindowEnabled);
    EXPECT_TRUE(runs_[0].panelGrey);
    EXPECT_TRUE(runs_[0].otherPanelEnabled);
    EXPECT_FALSE(runs_[0].preferencesTabVisible);

    ui::Panel& panel = target.creation ? MainForm->CalcPanel : MainForm->ComparePanel;
    EXPECT_EQ(panel.Caption(), ui::Utf8(target.creation ? u8"作成" : u8"比較"));
    EXPECT_TRUE(panel.Enabled());
    EXPECT_TRUE(IsWindowEnabled(panel.Handle()));
    EXPECT_EQ(panel.FontColor(), ui::Color::System(COLOR_WINDOWTEXT));
    EXPECT_TRUE(MainForm->PreferencesTabSheet.TabVisible());
  }
}

TEST_F(ProgramDropTest, AcceptDropOffUnregistersAndOnRegistersAgain) {
  for (const ProgramTarget& target : ProgramTargets()) {
    SCOPED_TRACE(target.name);
    const HWND window = target.window->Handle();
    target.dst->SetAcceptDrop(false);
    EXPECT_FALSE(AcceptsFiles(window));
    target.dst->SetAcceptDrop(true);
    EXPECT_TRUE(AcceptsFiles(window));
  }
  ExpectEveryTargetTakesDrops({"C:\\after.txt"});
}

TEST_F(ProgramDropTest, AFailingRunIsReportedAndTheNextDropWorks) {
  failMessage_ = ui::Utf8(u8"ファイル C:\\a\\a.crc を作成できません");
  for (const ProgramTarget& target : ProgramTargets()) {
    SCOPED_TRACE(target.name);
    boxes_.clear();
    failRuns_ = true;
    ASSERT_TRUE(DropFiles(target.window->Handle(), {"C:\\x.txt"}, POINT{1, 1})) << "the failed drop was not finished";
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, ui::WideFromUtf8(failMessage_));
    EXPECT_EQ(boxes_[0].caption, ui::App().WideTitle());
    EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, UINT{MB_ICONERROR});

    failRuns_ = false;
    runs_.clear();
    EXPECT_TRUE(AcceptsFiles(target.window->Handle()));
    ASSERT_TRUE(DropFiles(target.window->Handle(), {"C:\\y.txt"}, POINT{1, 1}));
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_EQ(runs_[0].paths, (std::vector<std::string>{"C:\\y.txt"}));
    EXPECT_EQ(boxes_.size(), 1u);
  }
}

TEST_F(ProgramDropTest, DropsWorkAfterStayOnTopIsSwitchedOnAndOff) {
  for (bool onTop : {true, false}) {
    SCOPED_TRACE(onTop ? "stay on top" : "normal");
    MainForm->StayOnTopCheckBox.SetChecked(onTop);
    MainForm->StayOnTopCheckBoxClick();
    EXPECT_EQ((GetWindowLongPtrW(MainForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, onTop);
    ExpectEveryTargetTakesDrops({"C:\\a.txt", "C:\\b"});
  }
}

TEST_F(ProgramDropTest, DropsWorkAfterTheWindowsAreMadeAnew) {
  // As a style switch that re-creates a form with all its children does.
  std::vector<HWND> oldWindows;
  for (const ProgramTarget& target : ProgramTargets()) oldWindows.push_back(target.window->Handle());
  for (ui::Form* form :
       {static_cast<ui::Form*>(MainForm), static_cast<ui::Form*>(CompareForm), static_cast<ui::Form*>(CalcForm)})
    form->RecreateWindow();
  const std::vector<ProgramTarget> targets = ProgramTargets();
  for (std::size_t i = 0; i < targets.size(); ++i) {
    SCOPED_TRACE(targets[i].name);
    EXPECT_FALSE(IsWindow(oldWindows[i]));
    EXPECT_EQ(targets[i].dst->WindowHandle(), targets[i].window->Handle());
  }
  ExpectEveryTargetTakesDrops({"C:\\a.txt"});
}

// Posts one drop from inside a running creation run: a timer's message is run by the pump
// that the run lets work between the blocks of a file.
class RunTrigger : public ui::Form {
 public:
  RunTrigger() : ui::Form(ui::FormArgs{.caption = u8"trigger"}) {}
  std::function<bool()> OnTick;  // true: done, the timer stops

 protected:
  bool HandleMessage(ui::Message& message) override {
    if (message.msg == WM_TIMER && OnTick && OnTick()) KillTimer(Handle(), 1);
    return ui::Form::HandleMessage(message);
  }
};

TEST_F(ProgramDropTest, ADropOnTheCreationWindowDuringARunIsTakenInsideIt) {
  MainForm->CalcFilesEntry = nullptr;  // the real creation runs
  MainForm->ShowProcessCheckBox.SetChecked(true);
  MainForm->DoneBeepCheckBox.SetChecked(false);
  ScratchFolder folder;
  const std::string big = folder.AddFile("big.bin", std::string(std::size_t{16} << 20, '\x5a'));
  const std::string small = folder.AddFile("small.txt", "abc");

  HGLOBAL inner = nullptr;
  bool outerRunningAtInner = false;
  std::size_t outerRowsAtInner = 99;
  bool busyDuringRun = false;
  RunTrigger trigger;
  trigger.OnTick = [&] {
    TCalcFrame* running = CalcForm->PageCount() == 1 ? CalcForm->Frame(0) : nullptr;
    if (running == nullptr || !running->Running()) return false;
    outerRunningAtInner = true;
    outerRowsAtInner = running->Entries.size();
    busyDuringRun = MainForm->CalcPanel.Caption() == ui::Utf8(u8"処理中") && !MainForm->CalcPanel.Enabled() &&
                    !MainForm->PreferencesTabSheet.TabVisible();
    inner = PostDrop(CalcForm->Handle(), {small}, POINT{5, 5});
    return true;
  };
  ASSERT_NE(SetTimer(trigger.Handle(), 1, USER_TIMER_MINIMUM, nullptr), 0u);

  std::vector<EventRecord> events;
  EventTap tap(CalcForm->DropDst, events);
  ASSERT_TRUE(DropFiles(MainForm->CalcPanel.Handle(), {big}, POINT{3, 3}));
  KillTimer(trigger.Handle(), 1);

  ASSERT_TRUE(outerRunningAtInner) << "the run ended before the nested drop could be posted";
  EXPECT_EQ(outerRowsAtInner, 0u) << "the nested drop came after the big file";
  EXPECT_TRUE(busyDuringRun) << "the creation panel was not busy during the run";
  ASSERT_NE(inner, nullptr);
  EXPECT_FALSE(DropBlockAlive(inner));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].x, 5);
  EXPECT_EQ(events[0].y, 5);

  // The outer page came first and was finished after the nested intake added its own page.
  ASSERT_EQ(CalcForm->PageCount(), 2);
  TCalcFrame* outer = CalcForm->Frame(0);
  TCalcFrame* nested = CalcForm->Frame(1);
  ASSERT_EQ(outer->Entries.size(), 1u);
  ASSERT_EQ(nested->Entries.size(), 1u);
  EXPECT_EQ(outer->Entries[0].Name, "big.bin");
  EXPECT_EQ(outer->Entries[0].Bytes, "16,777,216");
  EXPECT_EQ(nested->Entries[0].Name, "small.txt");
  EXPECT_EQ(nested->Entries[0].Hash, "352441C2");  // CRC-32 of "abc"
  EXPECT_EQ(outer->StateText(), ui::Utf8(u8"完了"));
  EXPECT_EQ(nested->StateText(), ui::Utf8(u8"完了"));
  EXPECT_FALSE(outer->Running());
  EXPECT_FALSE(CalcForm->InIntake());
  EXPECT_EQ(MainForm->CalcPanel.Caption(), ui::Utf8(u8"作成"));
  EXPECT_TRUE(MainForm->CalcPanel.Enabled());
  EXPECT_TRUE(MainForm->PreferencesTabSheet.TabVisible());
  EXPECT_TRUE(boxes_.empty());
  CalcForm->Hide();
}

}  // namespace
