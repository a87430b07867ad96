#include "app/program.h"

#include <exception>
#include <optional>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "engine/batch_run.h"
#include "ui/application.h"

void CreateProgramForms() {
  ui::Application& app = ui::App();
  app.SetTitle(u8"Ruvo");
  // The first form made is the application's main form: closing it ends the message loop.
  MainForm = &app.CreateForm<TMainForm>();
  CompareForm = &app.CreateForm<TCompareForm>();
  CalcForm = &app.CreateForm<TCalcForm>();
  CalcViewForm = &app.CreateForm<TCalcViewForm>();
  // The main window appears only when the command line names no path.
  app.SetShowMainForm(false);
  WireProgramForms();
}

void WireProgramForms() {
  const auto readOptions = [] { return MainForm->Options(); };
  const TPlaySound playSound = [](TSoundKind kind) { MainForm->PlayCompletionSound(kind); };
  CompareForm->ReadOptions = readOptions;
  CompareForm->PlaySound = playSound;
  CompareForm->OnForwardDrop = [](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    MainForm->CompareDropDstFileDrop(sender, files, x, y);
  };
  CalcForm->ReadOptions = readOptions;
  CalcForm->PlaySound = playSound;
  CalcForm->OnForwardDrop = [](TDropDst* sender, std::vector<std::string>& files, int x, int y) {
    MainForm->CalcDropDstFileDrop(sender, files, x, y);
  };
  CalcForm->SetTextView(CalcViewForm);
  CalcViewForm->ActiveDocument = [] { return CalcForm->ActiveDocument(); };
  CalcViewForm->PlaySound = playSound;
  // Closing the main window ends the program, but not under a run: the job windows' runs stop
  // (nothing cancelled is saved, nothing more is asked), their workers are joined while messages
  // run, and the loop ends once they have returned.
  MainForm->OnClose = [] {
    CalcForm->MenuCancelClick();
    CompareForm->MenuCancelClick();
  };
}

void DestroyProgramForms() {
  ui::App().DestroyForms();
  CalcViewForm = nullptr;
  CalcForm = nullptr;
  CompareForm = nullptr;
  MainForm = nullptr;
}

namespace {

// RunProgram once the windows are there.
int RunWithForms() {
  ui::Application& app = ui::App();
  MainForm->LoadSettings();
  try {
    MainForm->ProcessCommandLine();
  } catch (...) {
    // A command-line run that fails (an automatic save that cannot write) is reported like a
    // failed drop; the program goes on with what the run left.
    app.HandleException(std::current_exception());
  }
  // A batch run showed no window and leaves the settings file to the runs that do.
  if (const std::optional<int> exitCode = MainForm->BatchExitCode()) return *exitCode;
  // A command-line verification that found no list has said so (its page, the error sound) and
  // has nothing to wait for; it ends by itself, and tells a script by its exit code.
  int exitCode = 0;
  if (CompareForm->OpenedNoList()) {
    if (CompareForm->Visible()) CompareForm->Close();
    exitCode = static_cast<int>(TBatchExit::Unusable);
  }
  // A command-line run that left no window open has nothing to wait for: without this the
  // process would live on invisibly.
  const ui::Form* const windows[] = {MainForm, CompareForm, CalcForm, CalcViewForm};
  bool anyShown = false;
  for (const ui::Form* window : windows) anyShown = anyShown || window->Visible();
  if (!anyShown) app.Terminate();

  app.Run();
  MainForm->SaveSettings();
  return exitCode;
}

}  // namespace

int RunProgram() {
  // The windows go before WinMain returns: left to App()'s destructor they would be destroyed
  // after the map of controls by window (a function-local static made after App()), which their
  // procedures still use while they are destroyed.
  struct FormsScope {
    FormsScope() { CreateProgramForms(); }
    ~FormsScope() { DestroyProgramForms(); }
    FormsScope(const FormsScope&) = delete;
    FormsScope& operator=(const FormsScope&) = delete;
  } const forms;
  return RunWithForms();
}
