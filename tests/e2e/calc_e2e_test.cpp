// ruvo.exe started with paths on its command line and the settings for saving automatically and
// closing: it writes its lists next to the files and ends by itself.
#include <gtest/gtest.h>

#include <string>

#include "e2e/e2e_support.h"
#include "e2e/settings_text.h"
#include "support/wide_path.h"

namespace {

const std::string kCrc32Album =
    "Name     CRC32     Bytes\r\n"
    "-------  --------  ---------\r\n"
    "a.txt    352441C2          3\r\n"
    "big.bin  70986EF5  1,234,567\r\n"
    "----------------------------\r\n"
    "Total  2 Files  1,234,570 Bytes\r\n";
const std::string kCrc16Album =
    "Name     CRC   Bytes\r\n"
    "-------  ----  ---------\r\n"
    "a.txt    61DA          3\r\n"
    "big.bin  07A2  1,234,567\r\n"
    "------------------------\r\n"
    "Total  2 Files  1,234,570 Bytes\r\n";
const std::string kMd5Album =
    "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"
    "ec20dd727de8b769905be6e835ef9198 big.bin\r\n";
const std::string kSha256Album =
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad a.txt\r\n"
    "bd00cfe84dd349c99512a1e63ed1bda2c447a66f02968aebdc61cf15e0e2655a big.bin\r\n";
const std::string kSha256Movie = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad movie.avi\r\n";
const std::string kCrc32Movie =
    "Name       CRC32     Bytes\r\n"
    "---------  --------  -----\r\n"
    "movie.avi  352441C2      3\r\n"
    "--------------------------\r\n"
    "Total  1 Files  3 Bytes\r\n";
const std::string kMd5Movie = "900150983cd24fb0d6963f7d28e17f72 movie.avi\r\n";

std::string Quoted(const std::string& path) {
  std::string text(1, '"');
  text += path;
  text += '"';
  return text;
}

class CalcE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    box_.WriteFile("data\\album\\a.txt", "abc");
    box_.WriteFile("data\\album\\big.bin", std::string(1234567, '\0'));
    box_.WriteFile("data\\x\\movie.avi", "abc");
    box_.WriteIni(kAutoSaveIni);
  }
  // The command line naming the album folder and the movie file, with options in front.
  std::string Arguments(const std::string& options) const {
    std::string arguments = options;
    arguments += Quoted(box_.Path("data\\album"));
    arguments += ' ';
    arguments += Quoted(box_.Path("data\\x\\movie.avi"));
    return arguments;
  }
  std::string Read(const std::string& relative) const { return box_.ReadFile(relative).value_or("<missing>"); }
  std::string HashTypeLine() const {
    const std::string ini = box_.ReadIni().value_or("");
    const std::size_t at = ini.find("HashType=");
    return at == std::string::npos ? "<none>" : ini.substr(at, ini.find("\r\n", at) - at);
  }

  e2e::RuvoSandbox box_;
};

TEST_F(CalcE2eTest, SavesEveryListAndEndsByItself) {
  const e2e::RunResult result = box_.Run(Arguments(""));
  ASSERT_TRUE(result.finished) << "ruvo.exe did not end by itself";
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(Read("data\\album\\album.crc"), kCrc32Album);
  EXPECT_EQ(Read("data\\x\\movie.crc"), kCrc32Movie);
  EXPECT_EQ(HashTypeLine(), "HashType=1");
}

struct KindCase {
  const char* option;
  const char* albumList;
  const std::string* album;
  const char* movieList;
  const std::string* movie;
};

// A hash option applies to its run only: the settings file keeps the kind selected before.
TEST_F(CalcE2eTest, HashOptionsApplyToTheRunOnly) {
  const std::string crc16Movie =
      "Name       CRC   Bytes\r\n"
      "---------  ----  -----\r\n"
      "movie.avi  61DA      3\r\n"
      "----------------------\r\n"
      "Total  1 Files  3 Bytes\r\n";
  const KindCase cases[] = {
      {"-t1 ", "data\\album\\album.crc", &kCrc16Album, "data\\x\\movie.crc", &crc16Movie},
      {"/tm ", "data\\album\\album.md5", &kMd5Album, "data\\x\\movie.md5", &kMd5Movie},
      {"-t256 ", "data\\album\\album.sha256", &kSha256Album, "data\\x\\movie.sha256", &kSha256Movie},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.option);
    // The lists of the run before would be hashed as files of the folder.
    for (const char* list :
         {"data\\album\\album.crc", "data\\x\\movie.crc", "data\\album\\album.md5", "data\\x\\movie.md5"}) {
      DeleteFileW(W(box_.Path(list)).c_str());
    }
    const e2e::RunResult result = box_.Run(Arguments(c.option));
    ASSERT_TRUE(result.finished) << "ruvo.exe did not end by itself";
    EXPECT_EQ(Read(c.albumList), *c.album);
    EXPECT_EQ(Read(c.movieList), *c.movie);
    EXPECT_EQ(HashTypeLine(), "HashType=1");
  }
}

// Names outside the ANSI code page: the list names every file, in UTF-8 with a byte-order mark,
// its table lined up in display columns; a folder name in any script is its default name.
TEST_F(CalcE2eTest, NamesInAnyScriptMakeAUtf8List) {
  for (const char8_t* name : {u8"café.txt", u8"表.txt", u8"한국.txt"}) {
    box_.WriteFile(
        std::string("data\\") + reinterpret_cast<const char*>(u8"名前") + "\\" + reinterpret_cast<const char*>(name),
        "abc");
  }
  const std::string folder = std::string("data\\") + reinterpret_cast<const char*>(u8"名前");
  const e2e::RunResult result = box_.Run(Quoted(box_.Path(folder)));
  ASSERT_TRUE(result.finished) << "ruvo.exe did not end by itself";
  const std::string expected = reinterpret_cast<const char*>(
      u8"\uFEFFName      CRC32     Bytes\r\n"
      u8"--------  --------  -----\r\n"
      u8"café.txt  352441C2      3\r\n"
      u8"表.txt    352441C2      3\r\n"
      u8"한국.txt  352441C2      3\r\n"
      u8"-------------------------\r\n"
      u8"Total  3 Files  9 Bytes\r\n");
  EXPECT_EQ(Read(folder + "\\" + reinterpret_cast<const char*>(u8"名前.crc")), expected);
}

// Without "自動保存後閉じる" the window stays with its pages; closing it ends the program.
TEST_F(CalcE2eTest, WithoutCloseTheWindowStaysUntilClosed) {
  box_.WriteIni("[Preferences]\r\nAutoSaveDir=1\r\nDoneBeep=0\r\n\r\n");
  const std::string album = box_.Path("data\\album");
  e2e::RuvoProcess process = box_.Start(Quoted(album));
  std::u8string caption = u8"Ruvo - Calc - ";
  caption.append(album.begin(), album.end());  // an ASCII path: the same in UTF-8
  const HWND window = process.WaitForWindow(caption);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Read("data\\album\\album.crc"), kCrc32Album);
  e2e::PressKey(window, VK_ESCAPE);
  EXPECT_TRUE(process.Wait().finished);
}

}  // namespace
