#include "app/program.h"

#include <exception>

#include "app/calc.h"
#include "app/calcview.h"
#include "app/compare.h"
#include "app/main.h"
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
}

void DestroyProgramForms() {
  ui::App().DestroyForms();
  CalcViewForm = nullptr;
  CalcForm = nullptr;
  CompareForm = nullptr;
  MainForm = nullptr;
}

int RunProgram() {
  CreateProgramForms();
  ui::Application& app = ui::App();
  MainForm->LoadSettings();
  try {
    MainForm->ProcessCommandLine();
  } catch (...) {
    // A command-line run that fails (an automatic save that cannot write) is reported like a
    // failed drop; the program goes on with what the run left.
    app.HandleException(std::current_exception());
  }
  // A command-line run that left no window open has nothing to wait for: without this the
  // process would live on invisibly.
  const ui::Form* const windows[] = {MainForm, CompareForm, CalcForm, CalcViewForm};
  bool anyShown = false;
  for (const ui::Form* window : windows) anyShown = anyShown || window->Visible();
  if (!anyShown) app.Terminate();

  app.Run();
  MainForm->SaveSettings();
  return 0;
}
