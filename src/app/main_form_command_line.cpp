// Paths and options on the command line start a creation or verification run before the message
// loop; without a path the main window is shown. With "q" the run shows no window at all.
#include "app/main_form.h"

#include <optional>
#include <stop_token>

#include "app/compare_form.h"
#include "core/cmdline.h"
#include "core/codepage.h"
#include "core/utf8.h"
#include "engine/batch_run.h"
#include "win/console.h"
#include "win/file_path.h"
#include "win/unicode.h"
#include "win/user_locale.h"

void TMainForm::ProcessCommandLine() {
  // Element 0, the program's own name, is passed over by ParseArguments.
  const std::string commandLine = win::Utf8FromWide(GetCommandLineW());
  CommandLineRequest request = ParseArguments(SplitCommandLine(commandLine, IsNeverLeadByte));
  RunCommandLine(request);
}

void TMainForm::ProcessCommandLine(const std::vector<std::string>& arguments) {
  std::vector<std::string> commandLine = {"ruvo.exe"};
  commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
  CommandLineRequest request = ParseArguments(commandLine);
  RunCommandLine(request);
}

void TMainForm::RunCommandLine(CommandLineRequest& request) {
  // A relative path means the folder the program was started in; made absolute here, it needs no
  // current folder later (list names, save folders, verification's list folder).
  for (std::string& path : request.paths) path = win::AbsolutePath(path);
  batchExitCode_.reset();
  if (request.quiet) {
    batchExitCode_ = RunBatch(request);
    return;
  }
  if (request.paths.empty()) {
    Show();
    return;
  }
  if (request.update) {
    CompareFiles(request.paths);
    // The pages of a test's seam are no real pages to update.
    if (!CompareFilesEntry && CompareForm != nullptr) CompareForm->UpdateLists();
    return;
  }
  if (request.compare) {
    CompareFiles(request.paths);
    return;
  }
  // The requested kind applies to this one run and never reaches the settings file.
  THashType old = GetHashType();
  SetHashType(request.kind);
  try {
    CalcFiles(request.paths);
  } catch (...) {
    SetHashType(old);
    throw;
  }
  SetHashType(old);
}

int TMainForm::RunBatch(const CommandLineRequest& request) {
  std::optional<win::ParentConsole> console;
  bool outputLost = false;
  std::stop_source cancel;
  TBatchLine line = BatchOutput;
  if (!line) {
    console.emplace(request.utf8Output);
    line = [&](std::string_view text) {
      // A script that cannot read the outcome must not take the exit code for it: the run ends.
      if (outputLost || console->WriteLine(text)) return;
      outputLost = true;
      cancel.request_stop();
    };
  }
  if (request.paths.empty()) {
    line(AsUtf8String(u8"パスがありません"));
    return static_cast<int>(TBatchExit::Unusable);
  }
  TRunOptions options = Options();
  // The requested kind applies to this run alone, as in a run with windows.
  if (request.kind != THashType::None) options.kind = request.kind;
  const std::string separator = win::ThousandsSeparator();
  TBatchExit exit = TBatchExit::Correct;
  if (request.update) {
    for (const std::string& path : request.paths) {
      const TBatchExit one = RunBatchUpdate(path, options, separator, line, cancel.get_token());
      if (static_cast<int>(one) > static_cast<int>(exit)) exit = one;
    }
  } else {
    exit = request.compare ? RunBatchVerification(request.paths, options, separator, line, cancel.get_token())
                           : RunBatchCreation(request.paths, options, separator, line, cancel.get_token());
  }
  if (outputLost) {
    console->WriteErrorLine(AsUtf8String(u8"出力を書き込めません"));
    return static_cast<int>(TBatchExit::Unusable);
  }
  return static_cast<int>(exit);
}
