#include "core/checksum_list.h"

#include <gtest/gtest.h>

#include <ostream>

#include "core/listtext.h"

namespace {

struct Row {
  std::string name, hash, size;
  std::size_t line;
  bool malformed = false;
  bool operator==(const Row&) const = default;
};
using Rows = std::vector<Row>;
const std::string kAbc = "900150983cd24fb0d6963f7d28e17f72";  // MD5 of "abc"
const std::string kCrc32Head = "Name     CRC32     Bytes\r\n-------  --------  ---------\r\n";

Rows Flat(const ChecksumList& list) {
  Rows flat;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const ListEntry e = list.Entry(i);
    flat.push_back({e.name, e.hash, e.size, list.LineNumber(i), list.IsMalformed(i)});
  }
  return flat;
}

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.name << "|" << row.hash << "|" << row.size << "|" << row.line << "|" << row.malformed << "}";
}

}  // namespace

TEST(ParseChecksumList, EveryLineAnEntryOrAMalformedRow) {
  struct Case {
    std::string text;
    THashType kind;
    Rows rows;
  };
  const Case cases[] = {
      {kCrc32Head + "a.txt    352441C2          3\r\nbig.bin  70986EF5  1,234,567\r\n"
                    "----------------------------\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3", 3}, {"big.bin", "70986EF5", "1,234,567", 4}}},
      // Without the closing line the total splits like a row: the table rule, kept.
      {kCrc32Head + "a.txt  352441C2  3\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3", 3}, {"Total  2 Files", "1,234,570", "Bytes", 4}}},
      {"Name  CRC  Bytes\n----  ----  -----\nmy a.txt  61DA  3\nb  07A2  4",
       THashType::CRC16,
       {{"my a.txt", "61DA", "3", 3}, {"b", "07A2", "4", 4}}},
      {"Name  CRC  Bytes\r----  ----  -----\ra  61DA  3\r\rb  07A2  4\r",
       THashType::CRC16,
       {{"a", "61DA", "3", 3}, {"b", "07A2", "4", 5}}},  // an empty line ends nothing
      {kCrc32Head + "a  1  2\r\nbroken\r\nb  3  4\r\n",
       THashType::CRC32,
       {{"a", "1", "2", 3}, {"broken", "", "", 4, true}, {"b", "3", "4", 5}}},
      {kCrc32Head + "-----------\r\n", THashType::CRC32, {}},      // a page, but empty
      {"Name  CRC32  Bytes\r\n-  -  -\r\n", THashType::None, {}},  // nothing after the header
      {kAbc + " *a.txt\r\n" + kAbc + " my b.txt\n" + kAbc + " \tc\r",
       THashType::MD5,
       {{"a.txt", kAbc, "", 1}, {"my b.txt", kAbc, "", 2}, {"\tc", kAbc, "", 3}}},
      {kAbc + " a\r\n\r\n" + kAbc + " b\r\n", THashType::MD5, {{"a", kAbc, "", 1}, {"b", kAbc, "", 3}}},
      {"\r\n" + kAbc + " a\r\n", THashType::MD5, {{"a", kAbc, "", 2}}},
      {kAbc + " a\r\r\n" + kAbc + " b\r\r\n" + kAbc + " c\r\r\n" + kAbc + " d\r\r\n",
       THashType::MD5,
       {{"a", kAbc, "", 1}, {"b", kAbc, "", 2}, {"c", kAbc, "", 3}, {"d", kAbc, "", 4}}},
      {"# sums\n" + kAbc + "  a\nbad line\n" + kAbc + "  b\n",
       THashType::MD5,
       {{"a", kAbc, "", 2}, {"bad line", "", "", 3, true}, {"b", kAbc, "", 4}}},
      {"a.txt  352441C2  3\r\n", THashType::None, {}},  // rows without a header
      {"# only\n; comments\n\n", THashType::None, {}},
      {"", THashType::None, {}},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(c.text);
    EXPECT_EQ(list.Kind(), c.kind) << c.text;
    EXPECT_EQ(Flat(list), c.rows) << c.text;
  }
}

// A name after the digest keeps every blank that is no separator; the program's own lines and
// GNU's mix line by line.
TEST(ParseChecksumList, OwnLayoutAndGnuLineByLine) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {kAbc + "   lead\r\n" + kAbc + " b\r\n", {" lead", "b"}},
      {kAbc + "  a\n" + kAbc + "   b\n", {"a", " b"}},
      {kAbc + " *a\n" + kAbc + "  b\n", {"a", "b"}},
      {kAbc + " *a\n" + kAbc + " b\n" + kAbc + "  c\n", {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(c.text);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i) names.push_back(list.Entry(i).name);
    EXPECT_EQ(names, c.names) << c.text;
  }
}

TEST(ParseChecksumList, LineNumbersOfManyRows) {
  // Past the rows whose numbers are kept, numbers are counted through blank and comment lines.
  std::string text;
  for (int i = 0; i < 10000; ++i) text += i % 1000 == 999 ? "bad\n\n# c\n" : kAbc + " x\n";
  const ChecksumList list = ParseChecksumList(std::move(text));
  ASSERT_EQ(list.size(), 10000u);
  std::size_t line = 1;
  for (std::size_t i = 0; i < list.size(); ++i) {
    ASSERT_EQ(list.LineNumber(i), line) << i;
    EXPECT_EQ(list.IsMalformed(i), i % 1000 == 999);
    line += list.IsMalformed(i) ? 3 : 1;
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

// Lists as other tools write them: the rows with their kinds, a malformed line a row of no kind.
TEST(ParseChecksumList, OtherToolsForms) {
  const std::string sha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";  // of "abc"
  const std::string sha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string sha512 = std::string(128, 'e');
  const THashType bad = THashType::None;
  struct KindRow {
    std::string name, hash;
    THashType kind;
  };
  struct Case {
    const char* label;
    std::string text;
    ListLayout layout;
    std::vector<KindRow> rows;
  };
  const Case cases[] = {
      {"sha256sum",
       sha256 + "  a.txt\n" + sha256 + " *b c.txt\n",
       ListLayout::Lines,
       {{"a.txt", sha256, THashType::SHA256}, {"b c.txt", sha256, THashType::SHA256}}},
      {"sha1sum, CR LF", sha1 + "  a.txt\r\n", ListLayout::Lines, {{"a.txt", sha1, THashType::SHA1}}},
      {"sha512sum", sha512 + "  x\n", ListLayout::Lines, {{"x", sha512, THashType::SHA512}}},
      {"a name that keeps its leading blank", sha1 + "   a\n", ListLayout::Lines, {{" a", sha1, THashType::SHA1}}},
      {"escaped names",
       "\\" + sha1 + "  a\\\\b\\nc\n" + sha1 + "  d\n",
       ListLayout::Lines,
       {{"a\\b\nc", sha1, THashType::SHA1}, {"d", sha1, THashType::SHA1}}},
      {"malformed lines are rows",
       sha1 + "  a\n" + sha1.substr(1) + "  odd\n\n\\" + sha1 + "  dangling\\\n" + sha1 + "  b\n",
       ListLayout::Lines,
       {{"a", sha1, THashType::SHA1},
        {sha1.substr(1) + "  odd", "", bad},
        {"\\" + sha1 + "  dangling\\", "", bad},
        {"b", sha1, THashType::SHA1}}},
      {"md5sum with an escaped name later",
       kAbc + "  a\n\\" + kAbc + "  b\\\\c\n" + kAbc + "  d\n",
       ListLayout::Lines,
       {{"a", kAbc, THashType::MD5}, {"b\\c", kAbc, THashType::MD5}, {"d", kAbc, THashType::MD5}}},
      {"BSD tags, mixed kinds",
       "SHA256 (a.txt) = " + sha256 + "\nMD5 (b (1).txt) = " + kAbc + "\nsha1 (c) = " + sha1 + "\n",
       ListLayout::Lines,
       {{"a.txt", sha256, THashType::SHA256}, {"b (1).txt", kAbc, THashType::MD5}, {"c", sha1, THashType::SHA1}}},
      {"forms mixed line by line",
       "MD5   (a) = " + kAbc + "\nMD5(b)= " + kAbc + "\n" + sha1 + "  c\nd.bin 352441C2\n352441c2 *e\n",
       ListLayout::Lines,
       {{"a", kAbc, THashType::MD5},
        {"b", kAbc, THashType::MD5},
        {"c", sha1, THashType::SHA1},
        {"d.bin", "352441C2", THashType::CRC32},
        {"e", "352441c2", THashType::CRC32}}},
      {"BSD malformed",
       "SHA1 (a) = " + sha1 + "\nSHA1 (b) " + sha1 + "\nSHA1 (c) = " + sha1 + "0\nSHA1 (d) = " + sha1 + "\n",
       ListLayout::Lines,
       {{"a", sha1, THashType::SHA1},
        {"SHA1 (b) " + sha1, "", bad},
        {"SHA1 (c) = " + sha1 + "0", "", bad},
        {"d", sha1, THashType::SHA1}}},
      {"SFV",
       "; made by hand\r\n\r\nmy file.bin 352441C2\r\nb.txt   352441c2\r\nseven 352441C\r\n",
       ListLayout::Lines,
       {{"my file.bin", "352441C2", THashType::CRC32},
        {"b.txt", "352441c2", THashType::CRC32},
        {"seven 352441C", "", bad}}},
      {"a lone digest", "  " + sha256 + "\r\n", ListLayout::Digest, {{"file.iso", sha256, THashType::SHA256}}},
      {"a lone digest of no kind", std::string(48, 'a') + "\n", ListLayout::None, {}},
      {"a first line that is none",
       "hello world\n" + sha1 + "  a\n",
       ListLayout::Lines,
       {{"hello world", "", bad}, {"a", sha1, THashType::SHA1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ChecksumList list = ParseChecksumList(c.text, "file.iso.sha256");
    EXPECT_EQ(list.Layout(), c.layout);
    ASSERT_EQ(list.size(), c.rows.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      const ListEntry entry = list.Entry(i);
      EXPECT_EQ(entry.name, c.rows[i].name);
      EXPECT_EQ(entry.hash, c.rows[i].hash);
      EXPECT_EQ(entry.size, "");
      EXPECT_EQ(list.Fields(i).kind, c.rows[i].kind);
      EXPECT_EQ(list.IsMalformed(i), c.rows[i].kind == bad);
    }
  }
  // A lone digest in a file without an extension names no file.
  EXPECT_EQ(ParseChecksumList(sha256, "SHA256SUMS").Kind(), THashType::None);
  // A lone CRC32 in a ".crc32" file.
  const ChecksumList crc = ParseChecksumList("b70b4c26\r\n", "setup.zip.crc32");
  ASSERT_EQ(crc.size(), 1u);
  EXPECT_EQ(crc.Entry(0).name, "setup.zip");
  EXPECT_EQ(crc.Kind(), THashType::CRC32);
}

// 128 digits: the list's name decides between SHA-512 and BLAKE2b-512, else both are tried.
TEST(ParseChecksumList, LongDigestsByTheListsName) {
  const std::string line = std::string(128, 'e') + "  x\n";
  struct Case {
    const char* listName;
    THashType kind;
    bool orBlake2b;
  };
  const Case cases[] = {
      {"B2SUMS", THashType::BLAKE2b, false},      {"files.b2", THashType::BLAKE2b, false},
      {"SHA512SUMS", THashType::SHA512, false},   {"files.sha512", THashType::SHA512, false},
      {"checksums.txt", THashType::SHA512, true},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(line, c.listName);
    ASSERT_EQ(list.size(), 1u) << c.listName;
    EXPECT_EQ(list.Fields(0).kind, c.kind) << c.listName;
    EXPECT_EQ(list.Fields(0).orBlake2b, c.orBlake2b) << c.listName;
  }
  // b2sum -l 256 in B2SUMS: 64 digits of BLAKE2b.
  EXPECT_EQ(ParseChecksumList(std::string(64, 'a') + "  x\n", "B2SUMS").Kind(), THashType::BLAKE2b);
}

// 64 digits are SHA-256 unless the list's name or a tag says BLAKE3.
TEST(ParseChecksumList, Blake3ByTheListsNameOrItsTag) {
  const std::string digest(64, 'c');
  struct Case {
    const char* text;
    const char* listName;
    THashType kind;
  };
  const std::string plain = digest + "  x\n";
  const std::string tagged = "BLAKE3 (x) = " + digest + "\n";
  const std::string sha256Tagged = "SHA256 (x) = " + digest + "\n";
  const std::string shortTag = "BLAKE3 (x) = " + std::string(32, 'c') + "\n";
  const Case cases[] = {
      {plain.c_str(), "B3SUMS", THashType::BLAKE3},        {plain.c_str(), "b3sums", THashType::BLAKE3},
      {plain.c_str(), "files.b3", THashType::BLAKE3},      {plain.c_str(), "files.BLAKE3", THashType::BLAKE3},
      {plain.c_str(), "files.sha256", THashType::SHA256},  {plain.c_str(), "checksums.txt", THashType::SHA256},
      {plain.c_str(), "files.b3x", THashType::SHA256},     {tagged.c_str(), "checksums.txt", THashType::BLAKE3},
      {sha256Tagged.c_str(), "B3SUMS", THashType::SHA256}, {digest.c_str(), "image.iso.b3", THashType::BLAKE3},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(c.text, c.listName);
    ASSERT_EQ(list.size(), 1u) << c.listName << ": " << c.text;
    EXPECT_EQ(list.Fields(0).kind, c.kind) << c.listName << ": " << c.text;
  }
  // A BLAKE3 tag with a digest of another length, and a B3SUMS line of 32 digits, are malformed.
  const ChecksumList shortDigests = ParseChecksumList(tagged + shortTag, "checksums.txt");
  ASSERT_EQ(shortDigests.size(), 2u);
  EXPECT_FALSE(shortDigests.IsMalformed(0));
  EXPECT_TRUE(shortDigests.IsMalformed(1));
  const ChecksumList md5InB3sums = ParseChecksumList(plain + std::string(32, 'c') + "  y\n", "B3SUMS");
  ASSERT_EQ(md5InB3sums.size(), 2u);
  EXPECT_TRUE(md5InB3sums.IsMalformed(1));
}

// What creation writes, read back: every kind, lower or upper case, with and without the binary
// mark, names with blanks (leading ones too), folders and characters of any script.
TEST(ParseChecksumList, ReadsEveryListCreationWrites) {
  const std::vector<std::vector<std::string>> nameSets = {
      {"my file.txt", "sub\\\xE5\x86\x99\xE7\x9C\x9F.jpg", " lead", "x"},  // sub\写真.jpg
      {" lead", "  two"},
      {"a"},
  };
  for (const THashType kind :
       {THashType::CRC16, THashType::CRC32, THashType::MD5, THashType::SHA1, THashType::SHA256, THashType::SHA512}) {
    for (const bool upper : {false, true}) {
      for (const bool binary : {false, true}) {
        if (binary && !IsDigestKind(kind)) continue;
        for (const std::vector<std::string>& names : nameSets) {
          std::vector<ChecksumRow> rows;
          for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string hash(static_cast<std::size_t>(HashTextLength(kind)), upper ? 'A' + i : 'a' + i);
            rows.push_back({(binary ? "*" : "") + names[i], hash, IsDigestKind(kind) ? "" : "1,234"});
          }
          const std::string text = RenderChecksumList(kind, rows, "Total  1 Files  1,234 Bytes");
          const ChecksumList list = ParseChecksumList(text, "list.x");
          SCOPED_TRACE(text);
          ASSERT_EQ(list.size(), rows.size());
          for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_FALSE(list.IsMalformed(i));
            EXPECT_EQ(list.Entry(i).name, names[i]);
            EXPECT_EQ(list.Entry(i).hash, rows[i].Hash);
            EXPECT_EQ(list.Entry(i).size, rows[i].Bytes);
            EXPECT_EQ(list.Fields(i).kind, kind);
          }
        }
      }
    }
  }
}
