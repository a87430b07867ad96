#pragma once

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

struct CommandLineRequest {
  std::vector<std::string> paths;
  bool compare = false;
  THashType kind = THashType::None;  // as requested; a verification run ignores it
  bool quiet = false;                // a batch run: no window, an exit code
  bool utf8Output = false;           // a batch run's lines in UTF-8 whatever the console's code page
};

// A whole split command line; element 0, the program's name, is passed over. "-" or "/" plus
// exactly "c", "q", "u8", "t1", "t3", "tm", "t256" or "tb3" is an option (case-sensitive); anything else,
// prefix included, is a path; a later hash option wins; "c" wins.
CommandLineRequest ParseArguments(const std::vector<std::string>& arguments);
