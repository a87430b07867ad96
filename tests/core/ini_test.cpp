#include "core/ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

TEST(ParseIniInteger, DecimalHexSignsAndGarbage) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"1", 1},
      {"408", 408},
      {"007", 7},
      {"+5", 5},
      {"-5", -5},
      {"  \t12", 12},
      {"0x1", 1},
      {"0X1f", 31},
      {"$FF", 255},
      {"$ff", 255},
      {"x10", 16},
      {"X10", 16},
      {"-$10", -16},
      {"+0x10", 16},
      {"-x1", -1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"$7FFFFFFF", INT_MAX},
      {"-$80000000", INT_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"$80000000", std::nullopt},
      {"$FFFFFFFF", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"x", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"12 ", std::nullopt},
      {"- 1", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"1.0", std::nullopt},
      {"0x$1", std::nullopt},
      {"$0x1", std::nullopt},
      {"00x1", std::nullopt},
      {"0xG", std::nullopt},
      {"true", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width digit in UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << "[" << c.text << "]";
}

TEST(IniText, FirstStartReadsOnlyDefaults) {
  const IniText ini = IniText::Parse("");
  EXPECT_EQ(ini.ReadInteger("CompareForm", "Width", 408), 408);
  EXPECT_EQ(ini.ReadInteger("Preferences", "HashType", 1), 1);
  EXPECT_TRUE(ini.ReadBool("Preferences", "DirList", true));
  EXPECT_FALSE(ini.ReadBool("Preferences", "AutoSaveDir", false));
  EXPECT_EQ(ini.ReadString("Preferences", "DefaultExtCRC", "crc"), "crc");
  EXPECT_FALSE(ini.Read("Preferences", "DefaultExtMD5"));
  EXPECT_EQ(ini.Render(), "");
}

TEST(IniText, RendersSectionsAndKeysInOrderOfFirstWrite) {
  IniText ini;
  ini.WriteInteger("MainForm", "Left", 0);
  ini.WriteInteger("MainForm", "Top", -20);
  ini.WriteInteger("CompareForm", "Left", 436);
  ini.WriteInteger("MainForm", "ActivePage", 1);  // joins its section after the geometry
  ini.WriteBool("Preferences", "DirList", true);
  ini.WriteBool("Preferences", "StayOnTop", false);
  ini.WriteString("Preferences", "DefaultExtMD5", "md5");
  ini.WriteInteger("mainform", "LEFT", 5);  // the same key, another case: replaced in place
  EXPECT_EQ(ini.Render(),
            "[MainForm]\r\nLeft=5\r\nTop=-20\r\nActivePage=1\r\n\r\n"
            "[CompareForm]\r\nLeft=436\r\n\r\n"
            "[Preferences]\r\nDirList=1\r\nStayOnTop=0\r\nDefaultExtMD5=md5\r\n\r\n");
}

TEST(IniText, RoundTripReproducesEveryValue) {
  IniText written;
  written.WriteInteger("CalcViewForm", "Left", -1234);
  written.WriteInteger("CalcViewForm", "Width", INT_MAX);
  written.WriteInteger("CalcViewForm", "Height", INT_MIN);
  written.WriteInteger("Preferences", "HashType", 2);
  written.WriteBool("Preferences", "UpperCRC", true);
  written.WriteBool("Preferences", "UpperMD5", false);
  written.WriteString("Preferences", "DefaultExtCRC", "sfv");
  written.WriteString("Preferences", "DefaultExtMD5", "");
  written.WriteString("Preferences", "Odd", "a=b;c [d]");
  written.WriteString("Preferences", "Sjis", "\x95\x5C");  // 表, trail byte 0x5C

  const IniText read = IniText::Parse(written.Render());
  EXPECT_EQ(read.ReadInteger("CalcViewForm", "Left", 0), -1234);
  EXPECT_EQ(read.ReadInteger("CalcViewForm", "Width", 0), INT_MAX);
  EXPECT_EQ(read.ReadInteger("CalcViewForm", "Height", 0), INT_MIN);
  EXPECT_EQ(read.ReadInteger("Preferences", "HashType", 1), 2);
  EXPECT_TRUE(read.ReadBool("Preferences", "UpperCRC", false));
  EXPECT_FALSE(read.ReadBool("Preferences", "UpperMD5", true));
  EXPECT_EQ(read.ReadString("Preferences", "DefaultExtCRC", "crc"), "sfv");
  EXPECT_EQ(read.Read("Preferences", "DefaultExtMD5"), "");  // present, empty: not the default
  EXPECT_EQ(read.Read("Preferences", "Odd"), "a=b;c [d]");
  EXPECT_EQ(read.Read("Preferences", "Sjis"), "\x95\x5C");
  EXPECT_EQ(read.Render(), written.Render());
}

TEST(IniText, ReadingRules) {
  const IniText ini = IniText::Parse(
      "Orphan=1\r\n"  // before the first section: ignored
      "; [Comment]\r\n"
      "  [ mainform ]  \r\n"    // blanks around and inside the brackets
      "\tLEFT \t=\t 12 \t\r\n"  // key and value stripped around the first "="
      "no equals sign here\r\n"
      ";Top=99\r\n"   // a comment
      "Width==5\r\n"  // the value is everything after the first "="
      "Left=7\r\n"    // a repeated key: the first wins
      "=lost\r\n"
      "\r\n"
      "   \r\n"
      "[Preferences]\n"  // lone LF
      "HashType=0x1\r"   // lone CR
      "DirList=2\r\n"
      "StayOnTop=-1\r\n"
      "AutoSaveDir=0\r\n"
      "DoneBeep=yes\r\n"
      "ShowProcess= \r\n"
      "DefaultExtCRC=  c r c  \r\n"
      "[Hand]\r\n"
      "Key=value\r\n"
      "[MainForm]\r\n"  // the section again: continues the first
      "Top=3\r\n"
      "Left=8");  // no final line end
  EXPECT_EQ(ini.ReadInteger("MainForm", "Left", -1), 12);
  EXPECT_EQ(ini.ReadInteger("MAINFORM", "left", -1), 12);
  EXPECT_EQ(ini.ReadInteger("MainForm", "Top", -1), 3);
  EXPECT_EQ(ini.Read("MainForm", "Width"), "=5");
  EXPECT_EQ(ini.ReadInteger("MainForm", "Width", 408), 408);
  EXPECT_FALSE(ini.Read("MainForm", "no equals sign here"));
  EXPECT_FALSE(ini.Read("MainForm", ""));
  EXPECT_FALSE(ini.Read("MainForm", "Orphan"));
  EXPECT_FALSE(ini.Read("", "Orphan"));
  EXPECT_EQ(ini.ReadInteger("Preferences", "HashType", 4), 1);
  EXPECT_TRUE(ini.ReadBool("Preferences", "DirList", false));
  EXPECT_TRUE(ini.ReadBool("Preferences", "StayOnTop", false));
  EXPECT_FALSE(ini.ReadBool("Preferences", "AutoSaveDir", true));
  EXPECT_TRUE(ini.ReadBool("Preferences", "DoneBeep", true));  // not an integer: the default
  EXPECT_FALSE(ini.ReadBool("Preferences", "DoneBeep", false));
  EXPECT_EQ(ini.Read("Preferences", "ShowProcess"), "");
  EXPECT_TRUE(ini.ReadBool("Preferences", "ShowProcess", true));
  EXPECT_EQ(ini.ReadString("Preferences", "DefaultExtCRC", "crc"), "c r c");
  EXPECT_EQ(ini.ReadString("hand", "KEY", ""), "value");
}

TEST(IniText, HashTypeValuesAsStored) {
  struct Case {
    const char* value;
    int read;
  };
  const Case cases[] = {{"2", 2}, {"4", 4}, {"0x1", 1}, {"$0", 0}, {"258", 258}, {"abc", 1}};
  for (const Case& c : cases) {
    const IniText ini = IniText::Parse(std::string("[Preferences]\r\nHashType=") + c.value);
    EXPECT_EQ(ini.ReadInteger("Preferences", "HashType", 1), c.read) << c.value;
  }
}

TEST(IniText, ClearDropsHandAddedKeysAtTheNextSave) {
  IniText ini = IniText::Parse("[MainForm]\r\nWidth=640\r\nLeft=3\r\n[Mine]\r\nA=1\r\n");
  EXPECT_EQ(ini.ReadInteger("MainForm", "Width", 0), 640);  // a hand-added key is used
  ini.Clear();
  ini.WriteInteger("MainForm", "Left", 3);
  EXPECT_EQ(ini.Render(), "[MainForm]\r\nLeft=3\r\n\r\n");
}

TEST(IniText, ManySectionsEachFoundByItsNameInAsciiCase) {
  // Thousands of sections, each found under its name in any ASCII case and no other; one that
  // occurs again after them all continues the first.
  constexpr int kSections = 5000;
  std::string text;
  for (int i = 0; i < kSections; ++i) text += "[Sec" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
  text += "[\xC3\xA9t\xC3\xA9]\r\nKey=summer\r\n";  // été: not ASCII, so É is another letter
  text += "[SEC7]\r\nOther=x\r\n";
  IniText ini = IniText::Parse(text);
  for (int i = 0; i < kSections; i += 7) {
    EXPECT_EQ(ini.ReadInteger("sEC" + std::to_string(i), "key", -1), i) << i;
  }
  EXPECT_FALSE(ini.Read("Sec5000", "Key"));
  EXPECT_FALSE(ini.Read("Sec", "Key"));
  EXPECT_EQ(ini.Read("\xC3\xA9T\xC3\xA9", "Key"), "summer");  // éTé
  EXPECT_FALSE(ini.Read("\xC3\x89t\xC3\x89", "Key"));         // ÉtÉ
  EXPECT_EQ(ini.Read("Sec7", "Other"), "x");

  ini.WriteString("sec4999", "New", "1");
  const std::string rendered = ini.Render();
  EXPECT_NE(rendered.find("\r\n[Sec7]\r\nKey=7\r\nOther=x\r\n\r\n[Sec8]\r\n"), std::string::npos);
  EXPECT_NE(rendered.find("\r\n[Sec4999]\r\nKey=4999\r\nNew=1\r\n\r\n"), std::string::npos);
  EXPECT_EQ(std::count(rendered.begin(), rendered.end(), '['), kSections + 1);

  // Cleared, the file knows none of them: the next section is the first again.
  ini.Clear();
  EXPECT_FALSE(ini.Read("Sec7", "Key"));
  ini.WriteString("sec7", "A", "b");
  ini.WriteString("SEC7", "C", "d");
  EXPECT_EQ(ini.Render(), "[sec7]\r\nA=b\r\nC=d\r\n\r\n");
}
