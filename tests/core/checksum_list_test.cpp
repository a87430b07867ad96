#include "core/checksum_list.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Entries = std::vector<std::tuple<std::string, std::string, std::string>>;  // name, hash, size
const std::string kAbc = "900150983cd24fb0d6963f7d28e17f72";                     // MD5 of "abc"
const std::string kCrc32Head = "Name     CRC32     Bytes\r\n-------  --------  ---------\r\n";

Entries Flat(const ChecksumList& list) {
  Entries flat;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const ListEntry e = list.Entry(i);
    flat.emplace_back(e.name, e.hash, e.size);
  }
  return flat;
}

}  // namespace

TEST(ParseChecksumList, KindAndEntriesUpToTheFirstLineThatDoesNotSplit) {
  struct Case {
    std::string text;
    THashType kind;
    Entries entries;
  };
  const Case cases[] = {
      {kCrc32Head + "a.txt    352441C2          3\r\nbig.bin  70986EF5  1,234,567\r\n"
                    "----------------------------\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3"}, {"big.bin", "70986EF5", "1,234,567"}}},
      // Without the closing line the total splits like a row: the splitter's rule, kept.
      {kCrc32Head + "a.txt  352441C2  3\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3"}, {"Total  2 Files", "1,234,570", "Bytes"}}},
      {"Name  CRC  Bytes\n----  ----  -----\nmy a.txt  61DA  3\nb  07A2  4",
       THashType::CRC16,
       {{"my a.txt", "61DA", "3"}, {"b", "07A2", "4"}}},
      {"Name  CRC  Bytes\r----  ----  -----\ra  61DA  3\r\rb  07A2  4\r",
       THashType::CRC16,
       {{"a", "61DA", "3"}}},  // the empty line ends it
      {kCrc32Head + "a  1  2\r\nbroken\r\nb  3  4\r\n", THashType::CRC32, {{"a", "1", "2"}}},
      {kCrc32Head + "-----------\r\n", THashType::CRC32, {}},      // a page, but empty
      {"Name  CRC32  Bytes\r\n-  -  -\r\n", THashType::None, {}},  // nothing after the header
      {kAbc + " *a.txt\r\n" + kAbc + "  my b.txt\n" + kAbc + " \tc\r",
       THashType::MD5,
       {{"a.txt", kAbc, ""}, {"my b.txt", kAbc, ""}, {"c", kAbc, ""}}},
      {kAbc + " a\r\n\r\n" + kAbc + " b\r\n", THashType::MD5, {{"a", kAbc, ""}}},
      {"\r\n" + kAbc + " a\r\n", THashType::None, {}},
      {"a.txt  352441C2  3\r\n", THashType::None, {}},  // rows without a header
      {"", THashType::None, {}},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(c.text);
    EXPECT_EQ(list.Kind(), c.kind) << c.text;
    EXPECT_EQ(Flat(list), c.entries) << c.text;
  }
}

TEST(ParseChecksumList, EntriesStayValidWhenTheListMoves) {
  // Short texts live inside the string object itself: entries must not point into a moved-from one.
  ChecksumList first = ParseChecksumList(kAbc + " a\n");
  const ChecksumList moved = std::move(first);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved.Entry(0).name, "a");
  EXPECT_EQ(moved.Fields(0).hash, kAbc);
}

TEST(SplitListLine, TheRuleOfTheForm) {
  struct Case {
    std::string line;
    ListForm form;
    bool splits;
  };
  const Case cases[] = {
      {"a b c", ListForm::Table16, true},   {"a b c", ListForm::Table32, true},       {"a b c", ListForm::Md5, false},
      {kAbc + " a b", ListForm::Md5, true}, {kAbc + " *a", ListForm::Table32, false}, {"a b c", ListForm::None, false},
      {"a b c", ListForm::Digest, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitListLine(c.line, c.form).has_value(), c.splits) << c.line << " form " << int(c.form);
  }
  EXPECT_EQ(SplitListLine(kAbc + " a b", ListForm::Table32)->name, kAbc);  // the table rule, from the right
}

// Lists as other tools write them: the entries with their kinds, malformed lines passed over.
TEST(ParseChecksumList, OtherToolsForms) {
  const std::string sha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";  // of "abc"
  const std::string sha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string sha512 = std::string(128, 'e');
  struct Row {
    std::string name, hash;
    THashType kind;
  };
  struct Case {
    const char* label;
    std::string text;
    ListForm form;
    std::vector<Row> rows;
  };
  const Case cases[] = {
      {"sha256sum",
       sha256 + "  a.txt\n" + sha256 + " *b c.txt\n",
       ListForm::Gnu,
       {{"a.txt", sha256, THashType::SHA256}, {"b c.txt", sha256, THashType::SHA256}}},
      {"sha1sum, CR LF", sha1 + "  a.txt\r\n", ListForm::Gnu, {{"a.txt", sha1, THashType::SHA1}}},
      {"sha512sum", sha512 + "  x\n", ListForm::Gnu, {{"x", sha512, THashType::SHA512}}},
      {"a name that keeps its leading blank", sha1 + "   a\n", ListForm::Gnu, {{" a", sha1, THashType::SHA1}}},
      {"escaped names",
       "\\" + sha1 + "  a\\\\b\\nc\n" + sha1 + "  d\n",
       ListForm::Gnu,
       {{"a\\b\nc", sha1, THashType::SHA1}, {"d", sha1, THashType::SHA1}}},
      {"malformed lines are passed over",
       sha1 + "  a\n" + sha1.substr(1) + "  odd\n\n\\" + sha1 + "  dangling\\\n" + sha1 + "  b\n",
       ListForm::Gnu,
       {{"a", sha1, THashType::SHA1}, {"b", sha1, THashType::SHA1}}},
      {"md5sum with an escaped name later",
       kAbc + "  a\n\\" + kAbc + "  b\\\\c\n" + kAbc + "  d\n",
       ListForm::Md5,
       {{"a", kAbc, THashType::MD5}, {"b\\c", kAbc, THashType::MD5}, {"d", kAbc, THashType::MD5}}},
      {"BSD tags, mixed kinds",
       "SHA256 (a.txt) = " + sha256 + "\nMD5 (b (1).txt) = " + kAbc + "\nsha1 (c) = " + sha1 + "\n",
       ListForm::Bsd,
       {{"a.txt", sha256, THashType::SHA256}, {"b (1).txt", kAbc, THashType::MD5}, {"c", sha1, THashType::SHA1}}},
      {"BSD malformed",
       "SHA1 (a) = " + sha1 + "\nSHA1 (b) " + sha1 + "\nSHA1 (c) = " + sha1 + "0\nSHA1 (d) = " + sha1 + "\n",
       ListForm::Bsd,
       {{"a", sha1, THashType::SHA1}, {"d", sha1, THashType::SHA1}}},
      {"SFV",
       "; made by hand\r\n\r\nmy file.bin 352441C2\r\nb.txt   352441c2\r\nseven 352441C\r\nnine 352441C20\r\n",
       ListForm::Sfv,
       {{"my file.bin", "352441C2", THashType::CRC32}, {"b.txt", "352441c2", THashType::CRC32}}},
      {"a lone digest", "  " + sha256 + "\r\n", ListForm::Digest, {{"file.iso", sha256, THashType::SHA256}}},
      {"a lone digest of no kind", std::string(48, 'a') + "\n", ListForm::None, {}},
      {"none of them", "hello world\n" + sha1 + "  a\n", ListForm::None, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ChecksumList list = ParseChecksumList(c.text, "file.iso.sha256");
    EXPECT_EQ(list.Form(), c.form);
    ASSERT_EQ(list.size(), c.rows.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      const ListEntry entry = list.Entry(i);
      EXPECT_EQ(entry.name, c.rows[i].name);
      EXPECT_EQ(entry.hash, c.rows[i].hash);
      EXPECT_EQ(entry.size, "");
      EXPECT_EQ(list.Fields(i).kind, c.rows[i].kind);
    }
  }
  // A lone digest in a file without an extension names no file.
  EXPECT_EQ(ParseChecksumList(sha256, "SHA256SUMS").Kind(), THashType::None);
}
