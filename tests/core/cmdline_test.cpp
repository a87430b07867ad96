#include "core/cmdline.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

Args SplitSjis(std::string_view line) { return SplitCommandLine(line, IsShiftJisLeadByte); }

}  // namespace

TEST(SplitCommandLine, SeparatorsQuotesAndEmptyPairs) {
  struct Case {
    const char* line;
    Args args;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"ruvo.exe", {"ruvo.exe"}},
      {"ruvo.exe a b", {"ruvo.exe", "a", "b"}},
      {"  ruvo.exe\t a\r\n\x01"
       "b  ",
       {"ruvo.exe", "a", "b"}},  // every byte <= 32 separates
      {"\"C:\\Program Files\\ruvo.exe\" -c", {"C:\\Program Files\\ruvo.exe", "-c"}},
      {"ruvo \"a b\"c d", {"ruvo", "a bc", "d"}},  // a quoted stretch joins what follows
      {"ruvo x\"y z\"", {"ruvo", "xy z"}},         // and what precedes
      {"ruvo a\"\"b", {"ruvo", "ab"}},             // an empty pair inside an argument
      {"ruvo \"\" a", {"ruvo", "a"}},              // an empty pair alone yields nothing
      {"ruvo \"\"\"\" a", {"ruvo", "a"}},
      {"ruvo \"\"a", {"ruvo", "a"}},  // skipped at the start of an argument
      {"ruvo \"\" ", {"ruvo"}},
      {"ruvo \"open end", {"ruvo", "open end"}},  // an unclosed quote runs to the end
      {"ruvo \"", {"ruvo", ""}},
      {"ruvo \" \"", {"ruvo", " "}},
      {"ruvo -c \"C:\\a b\\l.crc\" -tm", {"ruvo", "-c", "C:\\a b\\l.crc", "-tm"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSjis(c.line), c.args) << c.line;
}

TEST(SplitCommandLine, StepsOverDoubleByteCharactersWhole) {
  struct Case {
    const char* line;
    Args args;
  };
  const Case cases[] = {
      // 表 = 0x95 0x5C: the trail byte is "\", the character stays whole.
      {"r C:\\\x95\x5C\\a.txt", {"r", "C:\\\x95\x5C\\a.txt"}},
      // ア (full width) = 0x83 0x41, ー = 0x81 0x5B, 写真 = 0x8E 0xCA 0x90 0x5E.
      {"r \"\x83\x41\x81\x5B \x8E\xCA\x90\x5E\"", {"r", "\x83\x41\x81\x5B \x8E\xCA\x90\x5E"}},
      // 〜 = 0x81 0x60 and ソ = 0x83 0x5C, then 0xFC 0xFC (the highest pair) inside quotes.
      {"r \"\x81\x60\x83\x5C\xFC\xFC\"", {"r", "\x81\x60\x83\x5C\xFC\xFC"}},
      // A lead byte followed by 0x40, the lowest trail byte (＠ = 0x81 0x40 is not a blank).
      {"r \x81\x40x", {"r", "\x81\x40x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSjis(c.line), c.args) << c.line;
}

TEST(SplitCommandLine, LoneLeadByteDoesNotSwallowSeparatorOrQuote) {
  // Shift-JIS trail bytes are 0x40-0x7E and 0x80-0xFC, so a lead byte before a blank or a quote
  // is a broken character: the blank still separates and the quote still closes.
  EXPECT_EQ(SplitSjis("r a\x81 b"), (Args{"r", "a\x81", "b"}));
  EXPECT_EQ(SplitSjis("r \"a\x81\" b"), (Args{"r", "a\x81", "b"}));
  EXPECT_EQ(SplitSjis("r a\x81\tb"), (Args{"r", "a\x81", "b"}));
  EXPECT_EQ(SplitSjis("r a\x81"), (Args{"r", "a\x81"}));  // a lead byte at the very end
}

TEST(SplitCommandLine, SingleByteCodePageSplitsHighBytesNowhere) {
  // 0x95 is an ordinary character in a single-byte code page; its neighbour "\"" is a quote.
  EXPECT_EQ(SplitCommandLine("r a\x95\"b c\"", IsNeverLeadByte), (Args{"r",
                                                                       "a\x95"
                                                                       "b c"}));
  // The same bytes in Shift-JIS: 0x95 0x22 is no character, so the quote still counts.
  EXPECT_EQ(SplitSjis("r a\x95\"b c\""), (Args{"r",
                                               "a\x95"
                                               "b c"}));
}

TEST(ParseArguments, OptionsAndPaths) {
  struct Case {
    Args args;
    Args paths;
    bool compare;
    THashType kind;
    bool quiet = false;
    bool utf8Output = false;
  };
  const Case cases[] = {
      {{"ruvo"}, {}, false, THashType::None},
      {{}, {}, false, THashType::None},
      {{"ruvo", "-c"}, {}, true, THashType::None},
      {{"ruvo", "-tm"}, {}, false, THashType::MD5},
      {{"ruvo", "a", "/t1", "b"}, {"a", "b"}, false, THashType::CRC16},
      {{"ruvo", "/t3", "a"}, {"a"}, false, THashType::CRC32},
      {{"ruvo", "-t1", "-tm", "a"}, {"a"}, false, THashType::MD5},  // the later one wins
      {{"ruvo", "-tm", "a", "-t1"}, {"a"}, false, THashType::CRC16},
      {{"ruvo", "-t256", "a"}, {"a"}, false, THashType::SHA256},
      {{"ruvo", "a", "/t256"}, {"a"}, false, THashType::SHA256},
      {{"ruvo", "-t256", "-tm", "a"}, {"a"}, false, THashType::MD5},
      {{"ruvo", "-tb3", "a"}, {"a"}, false, THashType::BLAKE3},
      {{"ruvo", "/tb3", "-t256", "a"}, {"a"}, false, THashType::SHA256},
      {{"ruvo", "-TB3", "-tb", "-tb33"}, {"-TB3", "-tb", "-tb33"}, false, THashType::None},
      {{"ruvo", "-T256", "-t25", "-t2560", "/sha256"}, {"-T256", "-t25", "-t2560", "/sha256"}, false, THashType::None},
      {{"ruvo", "a", "-c", "-t1"}, {"a"}, true, THashType::CRC16},  // "c" decides; kind unused
      {{"ruvo", "-C", "-T1", "-x", "/Tm", "-c "}, {"-C", "-T1", "-x", "/Tm", "-c "}, false, THashType::None},
      {{"ruvo", "-", "/", "--c", "-cc", "-t", "-t2"}, {"-", "/", "--c", "-cc", "-t", "-t2"}, false, THashType::None},
      {{"ruvo", "c", "t1", "", "\\c"}, {"c", "t1", "", "\\c"}, false, THashType::None},
      {{"ruvo", "-c", "/c", "x"}, {"x"}, true, THashType::None},
      {{"ruvo", "-q", "-c", "x"}, {"x"}, true, THashType::None, true},
      {{"ruvo", "x", "/q", "-tm"}, {"x"}, false, THashType::MD5, true},  // in any order
      {{"ruvo", "-Q", "-qq", "q"}, {"-Q", "-qq", "q"}, false, THashType::None},
      {{"ruvo", "-q", "/u8", "-c", "x"}, {"x"}, true, THashType::None, true, true},
      {{"ruvo", "x", "-u8"}, {"x"}, false, THashType::None, false, true},
      {{"ruvo", "-U8", "-u16", "u8"}, {"-U8", "-u16", "u8"}, false, THashType::None},
  };
  for (const Case& c : cases) {
    const CommandLineRequest request = ParseArguments(c.args);
    const std::string label = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(request.paths, c.paths) << label;
    EXPECT_EQ(request.compare, c.compare) << label;
    EXPECT_EQ(request.kind, c.kind) << label;
    EXPECT_EQ(request.quiet, c.quiet) << label;
    EXPECT_EQ(request.utf8Output, c.utf8Output) << label;
  }
}

TEST(ParseArguments, FromAWholeCommandLine) {
  const CommandLineRequest request =
      ParseArguments(SplitSjis("\"C:\\Tools\\ruvo.exe\" -tm \"C:\\My Data\\\x95\x5C\" -c D:\\x"));  // 表 = 95 5C
  EXPECT_EQ(request.paths, (Args{"C:\\My Data\\\x95\x5C", "D:\\x"}));
  EXPECT_TRUE(request.compare);
}

// The words for one run and the commands that run nothing: each sets its own field alone.
TEST(ParseArguments, RunWordsHelpAndRegistration) {
  struct Case {
    Args args;
    bool CommandLineRequest::*field;  // the one flag the words set; nullptr: none
    ShellRegistration registration = ShellRegistration::None;
  };
  const Case cases[] = {
      {{"ruvo", "-r", "x"}, &CommandLineRequest::recursive},
      {{"ruvo", "x", "/one"}, &CommandLineRequest::oneList},
      {{"ruvo", "-f", "x"}, &CommandLineRequest::overwrite},
      {{"ruvo", "/u", "-c", "x"}, &CommandLineRequest::unlisted},
      {{"ruvo", "-sel", "x"}, &CommandLineRequest::selection},
      {{"ruvo", "-h"}, &CommandLineRequest::help},
      {{"ruvo", "/h", "x"}, &CommandLineRequest::help},
      {{"ruvo", "-?"}, &CommandLineRequest::help},
      {{"ruvo", "/?"}, &CommandLineRequest::help},
      {{"ruvo", "--help"}, &CommandLineRequest::help},
      {{"ruvo", "-register"}, nullptr, ShellRegistration::Register},
      {{"ruvo", "/unregister"}, nullptr, ShellRegistration::Unregister},
      {{"ruvo", "-register", "-unregister"}, nullptr, ShellRegistration::Unregister},  // the later one
  };
  bool CommandLineRequest::*const flags[] = {&CommandLineRequest::recursive, &CommandLineRequest::oneList,
                                             &CommandLineRequest::overwrite, &CommandLineRequest::unlisted,
                                             &CommandLineRequest::selection, &CommandLineRequest::help};
  for (const Case& c : cases) {
    const CommandLineRequest request = ParseArguments(c.args);
    SCOPED_TRACE(c.args[1]);
    for (bool CommandLineRequest::*flag : flags) EXPECT_EQ(request.*flag, flag == c.field);
    EXPECT_EQ(request.registration, c.registration);
    EXPECT_TRUE(request.optionLike.empty());
    for (const std::string& path : request.paths) EXPECT_EQ(path, "x");
  }
}

// What is no option word but looks like one is a path that the caller checks; what holds a
// path separator is a path only.
TEST(ParseArguments, ArgumentsThatLookLikeOptionWords) {
  struct Case {
    Args args;
    Args paths;
    std::vector<std::size_t> optionLike;
  };
  const Case cases[] = {
      {{"ruvo", "-C", "SHA1SUMS"}, {"-C", "SHA1SUMS"}, {0}},
      {{"ruvo", "a", "/x", "--c", "-R", "-help"}, {"a", "/x", "--c", "-R", "-help"}, {1, 2, 3, 4}},
      {{"ruvo", "-", "/", "-a\\b", "/data/x", "-q", "x-y"}, {"-", "/", "-a\\b", "/data/x", "x-y"}, {}},
      {{"ruvo", "--", "-t2"}, {"--", "-t2"}, {0, 1}},
  };
  for (const Case& c : cases) {
    const CommandLineRequest request = ParseArguments(c.args);
    EXPECT_EQ(request.paths, c.paths) << c.args[1];
    EXPECT_EQ(request.optionLike, c.optionLike) << c.args[1];
  }
}

TEST(ParseArguments, UpdateIsAWordOfItsOwn) {
  struct Case {
    Args args;
    Args paths;
    bool update;
    bool quiet;
  };
  const Case cases[] = {
      {{"ruvo", "-update", "l.md5"}, {"l.md5"}, true, false},
      {{"ruvo", "l.md5", "/update", "-q"}, {"l.md5"}, true, true},
      {{"ruvo", "-c", "-update", "-tm", "l"}, {"l"}, true, false},
      {{"ruvo", "-Update", "-updat", "-updates", "update", "--update"},
       {"-Update", "-updat", "-updates", "update", "--update"},
       false,
       false},
  };
  for (const Case& c : cases) {
    const CommandLineRequest request = ParseArguments(c.args);
    EXPECT_EQ(request.paths, c.paths);
    EXPECT_EQ(request.update, c.update);
    EXPECT_EQ(request.quiet, c.quiet);
  }
}
