// Paths and options on the command line start a creation or verification run before the message
// loop; without a path the main window is shown. With "q" the run shows no window at all; "-h"
// and "-register" / "-unregister" run nothing and show no window either.
#include "app/main_form.h"

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "app/compare_form.h"
#include "app/shell_menus.h"
#include "app/usage.h"
#include "core/cmdline.h"
#include "core/codepage.h"
#include "core/utf8.h"
#include "engine/batch_run.h"
#include "ui/dialogs.h"
#include "win/console.h"
#include "win/file.h"
#include "win/file_path.h"
#include "win/selection.h"
#include "win/unicode.h"
#include "win/user_locale.h"

namespace {

// The arguments that look like option words but are none and name nothing that exists.
std::vector<std::string> UnknownOptions(const CommandLineRequest& request) {
  std::vector<std::string> unknown;
  for (const std::size_t index : request.optionLike) {
    const std::string path = win::AbsolutePath(request.paths[index]);
    if (!win::FileExists(path) && !win::DirectoryExists(path)) unknown.push_back(request.paths[index]);
  }
  return unknown;
}

// How long the first process of an Explorer selection waits for the next item's process: Explorer
// starts them one after another, each within a fraction of this.
constexpr auto kSelectionQuiet = std::chrono::milliseconds(1500);

// What the processes of one selection share: the same program (its settings) and the same options.
std::string SelectionKey(const CommandLineRequest& request) {
  std::string key = std::to_string(std::hash<std::string>{}(win::ExecutablePath()));
  key += request.compare ? ".c" : ".t";
  key += std::to_string(static_cast<int>(request.kind));
  for (const bool word : {request.recursive, request.oneList, request.overwrite, request.unlisted, request.quiet}) {
    key += word ? '1' : '0';
  }
  return key;
}

// Clears the command line's overrides when its run is over, however it ends: drops afterwards
// take the options as the controls hold them.
class OverridesScope {
 public:
  OverridesScope(TRunOverrides& overrides, const TRunOverrides& forRun) : overrides_(overrides) { overrides_ = forRun; }
  ~OverridesScope() { overrides_ = {}; }
  OverridesScope(const OverridesScope&) = delete;
  OverridesScope& operator=(const OverridesScope&) = delete;

 private:
  TRunOverrides& overrides_;
};

}  // namespace

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
  batchExitCode_.reset();
  if (request.help) {
    batchExitCode_ = ShowUsage(request);
    return;
  }
  if (request.registration != ShellRegistration::None) {
    batchExitCode_ = RunRegistration(request);
    return;
  }
  if (request.selection && !request.paths.empty()) {
    // Another process may run them, from another folder.
    for (std::string& path : request.paths) path = win::AbsolutePath(path);
    std::optional<std::vector<std::string>> paths =
        win::GatherSelection(SelectionKey(request), std::move(request.paths), kSelectionQuiet);
    if (!paths) {
      // Handed to the selection's first process, which runs them; nothing is left here.
      batchExitCode_ = 0;
      return;
    }
    request.paths = std::move(*paths);
    request.optionLike.clear();  // the others' paths came without their place on a command line
  }
  if (request.quiet) {
    batchExitCode_ = RunBatch(request);
    return;
  }
  // A relative path means the folder the program was started in; made absolute here, it needs no
  // current folder later (list names, save folders, verification's list folder).
  for (std::string& path : request.paths) path = win::AbsolutePath(path);
  if (request.paths.empty()) {
    Show();
    return;
  }
  const OverridesScope overrides(RunOverrides, {.recursive = request.recursive,
                                                .oneList = request.oneList,
                                                .overwrite = request.overwrite,
                                                .unlisted = request.unlisted});
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
  // A mistyped option must not become a path that some list is then made of or saved beside.
  if (const std::vector<std::string> unknown = UnknownOptions(request); !unknown.empty()) {
    for (const std::string& word : unknown) line(AsUtf8String(u8"不明なオプション: ") + word);
    return static_cast<int>(TBatchExit::Unusable);
  }
  std::vector<std::string> paths = request.paths;
  for (std::string& path : paths) path = win::AbsolutePath(path);
  if (paths.empty()) {
    line(AsUtf8String(u8"パスがありません"));
    return static_cast<int>(TBatchExit::Unusable);
  }
  TRunOptions options = Options();
  // The requested kind and option words apply to this run alone, as in a run with windows.
  if (request.kind != THashType::None) options.kind = request.kind;
  TRunOverrides{.recursive = request.recursive,
                .oneList = request.oneList,
                .overwrite = request.overwrite,
                .unlisted = request.unlisted}
      .ApplyTo(options);
  const std::string separator = win::ThousandsSeparator();
  TBatchExit exit = TBatchExit::Correct;
  if (request.update) {
    for (const std::string& path : paths) {
      const TBatchExit one = RunBatchUpdate(path, options, separator, line, cancel.get_token());
      if (static_cast<int>(one) > static_cast<int>(exit)) exit = one;
    }
  } else {
    exit = request.compare ? RunBatchVerification(paths, options, separator, line, cancel.get_token())
                           : RunBatchCreation(paths, options, separator, line, cancel.get_token());
  }
  if (outputLost) {
    console->WriteErrorLine(AsUtf8String(u8"出力を書き込めません"));
    return static_cast<int>(TBatchExit::Unusable);
  }
  return static_cast<int>(exit);
}

void TMainForm::TellLines(const std::vector<std::string>& lines, bool utf8) {
  if (BatchOutput) {
    for (const std::string& text : lines) BatchOutput(text);
    return;
  }
  win::ParentConsole console(utf8);
  if (console.HasOutput()) {
    // A reader that went away has nothing left to learn; the exit code still tells a script.
    for (const std::string& text : lines) {
      if (!console.WriteLine(text)) break;
    }
    return;
  }
  // Started from Explorer, a shortcut or Win+R, with no console and no redirection: only a window
  // shows it.
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  ui::MessageBox(text, u8"Ruvo", MB_OK | MB_ICONINFORMATION);
}

int TMainForm::ShowUsage(const CommandLineRequest& request) {
  TellLines(UsageLines(SettingsFile()), request.utf8Output);
  return 0;
}

int TMainForm::RunRegistration(const CommandLineRequest& request) {
  const bool registering = request.registration == ShellRegistration::Register;
  const TShellMenuOutcome outcome =
      registering ? RegisterShellMenus(win::ExecutablePath()) : UnregisterShellMenus(win::ExecutablePath());
  TellLines({ShellMenuOutcomeLine(registering, outcome)}, request.utf8Output);
  return outcome.Ok() ? 0 : static_cast<int>(TBatchExit::Unusable);
}
