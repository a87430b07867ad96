// Paths and options on the command line start a creation or verification run before the message
// loop; without a path the main window is shown.
#include "app/main_form.h"

#include "core/cmdline.h"
#include "core/codepage.h"
#include "win/file_path.h"
#include "win/unicode.h"

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
  if (request.paths.empty()) {
    Show();
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
