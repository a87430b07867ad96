#include "ui/control_hook.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/hook_probes.h"
#include "ui/text.h"

using hooktest::kProbe;
using hooktest::kProbeAnswer;
using hooktest::ProbeForm;
using hooktest::ProbePanel;
using hooktest::SendProbe;

namespace {

// Records what the hook's two virtual operations see. The probe counter lives outside, so a
// test can tell that a destroyed hook no longer takes messages.
class RecordingHook : public TControlHook {
 public:
  RecordingHook(ui::Control* owner, int* probeCount) : TControlHook(owner), probeCount_(probeCount) {}

  std::vector<std::uint8_t> events;
  std::vector<HWND> handlesAfterEvent;
  int creates = 0;
  bool pendingAtCreate = true;

  using TControlHook::SetHooked;

 protected:
  void TargetHandleChanged(THandleEvent Event) override {
    events.push_back(Event);
    TControlHook::TargetHandleChanged(Event);
    handlesAfterEvent.push_back(WindowHandle());
  }
  void TargetWndProc(ui::Message& message) override {
    if (message.msg == kProbe) ++*probeCount_;
    if (message.msg == WM_CREATE) {
      ++creates;
      pendingAtCreate = pendingAtCreate && WindowHandle() == PendingHandle();
    }
    TControlHook::TargetWndProc(message);
  }

 private:
  int* probeCount_;
};

class ControlHookTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(boxes_.boxes.empty()) << "a message box appeared"; }

  hooktest::MessageBoxRecorder boxes_;

  ProbeForm form_{ui::FormArgs{.caption = u8"hook test", .width = 320, .height = 240}};
  ProbePanel panel_{
      ui::PanelArgs{.parent = &form_, .caption = u8"panel", .left = 8, .top = 8, .width = 120, .height = 80}};
  int probes_ = 0;
};

TEST_F(ControlHookTest, StartsUnhookedWithHtControl) {
  RecordingHook hook(&form_, &probes_);
  EXPECT_EQ(hook.Target(), htControl);
  EXPECT_EQ(hook.Control(), nullptr);
  EXPECT_EQ(hook.HookedControl(), nullptr);
  EXPECT_EQ(hook.WindowHandle(), nullptr);
  hook.Loaded();  // htControl without a control: nothing hooked, no error
  EXPECT_EQ(hook.HookedControl(), nullptr);
}

TEST_F(ControlHookTest, HtControlPassesEveryMessageOnceAndUnchanged) {
  RecordingHook hook(&form_, &probes_);
  hook.SetControl(&panel_);
  ASSERT_EQ(hook.HookedControl(), &panel_);
  EXPECT_EQ(hook.WindowHandle(), panel_.Handle());

  EXPECT_EQ(SendProbe(panel_.Handle(), 0x1234, -5), kProbeAnswer);
  EXPECT_EQ(probes_, 1);
  ASSERT_EQ(panel_.log.probes.size(), 1u);
  EXPECT_EQ(panel_.log.probes[0].first, WPARAM{0x1234});
  EXPECT_EQ(panel_.log.probes[0].second, LPARAM{-5});

  // The form is not the target.
  EXPECT_EQ(SendProbe(form_.Handle()), kProbeAnswer);
  EXPECT_EQ(probes_, 1);
}

TEST_F(ControlHookTest, HtFormWithoutControlHooksTheOwnerForm) {
  RecordingHook hook(&form_, &probes_);
  hook.SetTarget(htForm);
  ASSERT_EQ(hook.HookedControl(), &form_);
  EXPECT_EQ(hook.WindowHandle(), form_.Handle());
  EXPECT_EQ(SendProbe(form_.Handle(), 3, 4), kProbeAnswer);
  EXPECT_EQ(probes_, 1);
  ASSERT_EQ(form_.log.probes.size(), 1u);
  EXPECT_EQ(form_.log.probes[0], std::make_pair(WPARAM{3}, LPARAM{4}));
}

TEST_F(ControlHookTest, HtFormWithAPanelHooksThePanelsForm) {
  // The hook sits on another form: the panel's form is the target, not the owner's, nor the panel.
  ProbeForm other(ui::FormArgs{.caption = u8"owner"});
  RecordingHook hook(&other, &probes_);
  hook.SetTarget(htForm);
  ASSERT_EQ(hook.HookedControl(), &other);
  hook.SetControl(&panel_);
  ASSERT_EQ(hook.HookedControl(), &form_);

  SendProbe(panel_.Handle());
  EXPECT_EQ(probes_, 0);
  SendProbe(other.Handle());
  EXPECT_EQ(probes_, 0);
  SendProbe(form_.Handle());
  EXPECT_EQ(probes_, 1);
}

TEST_F(ControlHookTest, FindOwnerFormWalksUpToTheForm) {
  ProbePanel inner(ui::PanelArgs{.parent = &panel_, .caption = u8"inner", .width = 40, .height = 30});
  EXPECT_EQ(TControlHook::FindOwnerForm(&form_), &form_);
  EXPECT_EQ(TControlHook::FindOwnerForm(&panel_), &form_);
  EXPECT_EQ(TControlHook::FindOwnerForm(&inner), &form_);
  EXPECT_EQ(TControlHook::FindOwnerForm(nullptr), nullptr);
}

TEST_F(ControlHookTest, SettingTheSameControlAgainHooksOnce) {
  RecordingHook hook(&form_, &probes_);
  hook.SetControl(&panel_);
  hook.SetControl(&panel_);
  hook.SetTarget(htControl);
  hook.Loaded();
  EXPECT_EQ(hook.HookedControl(), &panel_);

  EXPECT_EQ(SendProbe(panel_.Handle()), kProbeAnswer);
  EXPECT_EQ(probes_, 1);
  EXPECT_EQ(panel_.log.probes.size(), 1u);
}

TEST_F(ControlHookTest, MovingToAnotherControlReleasesTheFirst) {
  ProbePanel second(ui::PanelArgs{.parent = &form_, .caption = u8"second", .top = 100, .width = 60, .height = 40});
  RecordingHook hook(&form_, &probes_);
  hook.SetControl(&panel_);
  hook.SetControl(&second);
  ASSERT_EQ(hook.HookedControl(), &second);

  SendProbe(panel_.Handle());
  EXPECT_EQ(probes_, 0);
  EXPECT_EQ(panel_.log.probes.size(), 1u);
  SendProbe(second.Handle());
  EXPECT_EQ(probes_, 1);
  EXPECT_EQ(second.log.probes.size(), 1u);
}

struct RecreateCase {
  const char* name;
  THookTarget target;
  bool recreateForm;  // re-create the whole form (with its children) or only the panel
};
void PrintTo(const RecreateCase& param, std::ostream* out) { *out << param.name; }

class ControlHookRecreateTest : public ControlHookTest, public testing::WithParamInterface<RecreateCase> {};

TEST_P(ControlHookRecreateTest, ReportsGoneThenNewAndTracksTheNewWindow) {
  const RecreateCase& param = GetParam();
  RecordingHook hook(&form_, &probes_);
  if (param.target == htForm)
    hook.SetTarget(htForm);
  else
    hook.SetControl(&panel_);
  ui::Control& target = param.target == htForm ? static_cast<ui::Control&>(form_) : panel_;
  const HWND oldWindow = target.Handle();
  ASSERT_EQ(hook.WindowHandle(), oldWindow);

  if (param.recreateForm)
    form_.RecreateWindow();
  else
    target.RecreateWindow();
  // The new window is reported at its first message after WM_CREATE; one probe makes sure
  // such a message has come.
  EXPECT_EQ(SendProbe(target.Handle()), kProbeAnswer);

  EXPECT_FALSE(IsWindow(oldWindow));
  ASSERT_EQ(hook.events, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(hook.handlesAfterEvent[0], nullptr);
  EXPECT_EQ(hook.handlesAfterEvent[1], target.HandleIfAllocated());
  EXPECT_EQ(hook.creates, 1);
  EXPECT_TRUE(hook.pendingAtCreate) << "the handle is the pending marker while WM_CREATE passes";
  EXPECT_EQ(hook.WindowHandle(), target.HandleIfAllocated());
  EXPECT_TRUE(IsWindow(hook.WindowHandle()));
  EXPECT_EQ(probes_, 1);
}

INSTANTIATE_TEST_SUITE_P(Targets, ControlHookRecreateTest,
                         testing::Values(RecreateCase{"PanelAlone", htControl, false},
                                         RecreateCase{"PanelWithItsForm", htControl, true},
                                         RecreateCase{"Form", htForm, true}),
                         [](const testing::TestParamInfo<RecreateCase>& param) {
                           return std::string(param.param.name);
                         });

TEST_F(ControlHookTest, DestroyingTheHookRestoresThePreviousHandling) {
  {
    RecordingHook hook(&form_, &probes_);
    hook.SetControl(&panel_);
    SendProbe(panel_.Handle());
    ASSERT_EQ(probes_, 1);
  }
  EXPECT_EQ(SendProbe(panel_.Handle()), kProbeAnswer);
  EXPECT_EQ(probes_, 1);
  EXPECT_EQ(panel_.log.probes.size(), 2u);

  // The restored slot is the control's own again: re-creating the window keeps working.
  panel_.RecreateWindow();
  EXPECT_EQ(SendProbe(panel_.Handle()), kProbeAnswer);
  EXPECT_EQ(panel_.log.probes.size(), 3u);
}

TEST_F(ControlHookTest, RemovingRestoresAndReinstallingHooksAgain) {
  RecordingHook hook(&form_, &probes_);
  hook.SetControl(&panel_);
  hook.SetHooked(false);
  EXPECT_EQ(hook.HookedControl(), nullptr);
  EXPECT_EQ(hook.WindowHandle(), nullptr);
  SendProbe(panel_.Handle());
  EXPECT_EQ(probes_, 0);
  hook.SetHooked(true);
  SendProbe(panel_.Handle());
  EXPECT_EQ(probes_, 1);
  EXPECT_EQ(panel_.log.probes.size(), 2u);
}

TEST_F(ControlHookTest, DestroyingTheTargetFirstLeavesTheHookEmpty) {
  RecordingHook hook(&form_, &probes_);
  {
    auto doomed =
        std::make_unique<ProbePanel>(ui::PanelArgs{.parent = &form_, .caption = u8"doomed", .width = 50, .height = 50});
    hook.SetControl(doomed.get());
    ASSERT_EQ(hook.HookedControl(), doomed.get());
  }
  EXPECT_EQ(hook.HookedControl(), nullptr);
  EXPECT_EQ(hook.WindowHandle(), nullptr);
  EXPECT_EQ(hook.Control(), nullptr) << "no reference to a destroyed control";
  ASSERT_FALSE(hook.events.empty());
  EXPECT_EQ(hook.events.front(), 1);

  // The hook is usable again and is destroyed without touching the old control.
  hook.Loaded();
  EXPECT_EQ(hook.HookedControl(), nullptr);
  hook.SetControl(&panel_);
  SendProbe(panel_.Handle());
  EXPECT_EQ(probes_, 1);
}

TEST_F(ControlHookTest, DestroyingAFormHookedWithHtForm) {
  auto doomed = std::make_unique<ProbeForm>(ui::FormArgs{.caption = u8"doomed"});
  RecordingHook hook(doomed.get(), &probes_);
  hook.SetTarget(htForm);
  ASSERT_EQ(hook.HookedControl(), doomed.get());
  doomed.reset();
  EXPECT_EQ(hook.HookedControl(), nullptr);
  EXPECT_EQ(hook.WindowHandle(), nullptr);
}

TEST_F(ControlHookTest, ControlOfAFormHookThatIsDestroyedIsForgotten) {
  // With htForm the form is hooked; the named panel is another object that may go first.
  RecordingHook hook(&form_, &probes_);
  auto doomed =
      std::make_unique<ProbePanel>(ui::PanelArgs{.parent = &form_, .caption = u8"doomed", .width = 50, .height = 50});
  hook.SetTarget(htForm);
  hook.SetControl(doomed.get());
  ASSERT_EQ(hook.HookedControl(), &form_);
  doomed.reset();

  EXPECT_EQ(hook.Control(), nullptr);
  EXPECT_EQ(hook.HookedControl(), &form_);
  hook.Loaded();  // would use the destroyed panel if it were still named
  EXPECT_EQ(hook.HookedControl(), &form_);
  SendProbe(form_.Handle());
  EXPECT_EQ(probes_, 1);
  EXPECT_EQ(form_.log.probes.size(), 1u);
}

TEST_F(ControlHookTest, HtFormWithoutAFormFails) {
  const std::string message = ui::Utf8(u8"フック先を特定できません。");
  RecordingHook hook(nullptr, &probes_);
  try {
    hook.SetTarget(htForm);
    FAIL() << "no error for a hook without a form";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(error.what(), message);
  }
  EXPECT_EQ(hook.HookedControl(), nullptr);
  EXPECT_EQ(hook.Target(), htForm);
  EXPECT_THROW(hook.Loaded(), std::runtime_error);

  // A control gives the hook its form again.
  hook.SetControl(&panel_);
  EXPECT_EQ(hook.HookedControl(), &form_);
}

}  // namespace
