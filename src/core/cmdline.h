#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/codepage.h"
#include "core/hash_type.h"

// Splits a whole command line (GetCommandLineA text) by the program's own rules: every byte <= 32
// separates; a double-quoted stretch belongs to one argument (blanks included), the quote chars are
// dropped; a pair of quotes with nothing between at the start of an argument is skipped like a
// separator (yields no argument); multi-byte characters are stepped over whole. Element 0 is the
// program name.
std::vector<std::string> SplitCommandLine(std::string_view commandLine, LeadByteTest isLeadByte);

// What the shell menus ask of the program instead of a run.
enum class ShellRegistration : std::uint8_t { None, Register, Unregister };

struct CommandLineRequest {
  std::vector<std::string> paths;
  bool compare = false;
  bool update = false;               // each path a list to verify and bring up to date
  THashType kind = THashType::None;  // as requested; a verification run ignores it
  bool quiet = false;                // a batch run: no window, an exit code
  bool utf8Output = false;           // a batch run's lines in UTF-8 whatever the console's code page
  bool help = false;                 // the usage and nothing else
  // For this run only, whatever the settings say.
  bool recursive = false;  // "r": folders searched into their sub-folders
  bool oneList = false;    // "one": one list for everything instead of one per folder
  bool overwrite = false;  // "f": an existing list is replaced
  bool unlisted = false;   // "u": verification also reports the files a list does not name
  ShellRegistration registration = ShellRegistration::None;
  // "sel": one item of an Explorer selection, each started as a process of its own; the processes
  // started alike join into one job.
  bool selection = false;
  // Indexes into paths of the arguments that look like option words ("-" or "/" and a word
  // without a path separator) but are none: a path when such a thing exists, else a mistake.
  std::vector<std::size_t> optionLike;
};

// A whole split command line; element 0, the program's name, is passed over. "-" or "/" plus
// exactly one of OptionWords() is an option (case-sensitive), and so is "--help"; anything else,
// prefix included, is a path; a later hash option wins; "c" wins over a hash option, "update"
// over both.
CommandLineRequest ParseArguments(const std::vector<std::string>& arguments);

// Every option word ParseArguments knows, without its prefix, in the order the usage lists them.
const std::vector<std::string_view>& OptionWords();
