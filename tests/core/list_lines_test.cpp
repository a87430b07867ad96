#include "core/list_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";  // of "abc"
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string k128(128, 'e');

struct Expected {
  std::string name, hash;
  THashType kind;
};

void ExpectFields(const std::optional<ListFields>& fields, const std::optional<Expected>& expected,
                  std::string_view line) {
  ASSERT_EQ(fields.has_value(), expected.has_value()) << "[" << line << "]";
  if (!fields) return;
  EXPECT_EQ(ToListEntry(*fields).name, expected->name) << "[" << line << "]";
  EXPECT_EQ(fields->hash, expected->hash) << "[" << line << "]";
  EXPECT_EQ(fields->kind, expected->kind) << "[" << line << "]";
}

std::string Repeat(std::string_view text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

}  // namespace

TEST(SplitDigestFirstFields, GnuOwnLayoutAndCrc) {
  const DigestLineRules gnu;
  const DigestLineRules b2{.blake2b = true};
  struct Case {
    std::string line;
    DigestLineRules rules;
    std::optional<Expected> expected;
  };
  const Case cases[] = {
      {kMd5 + "  a.txt", gnu, Expected{"a.txt", kMd5, THashType::MD5}},
      {kMd5 + " *a.txt", gnu, Expected{"a.txt", kMd5, THashType::MD5}},
      {kMd5 + " a.txt", gnu, Expected{"a.txt", kMd5, THashType::MD5}},  // one blank: the program's own
      {kMd5 + "   a", gnu, Expected{" a", kMd5, THashType::MD5}},       // a name's own blank stays
      {kMd5 + " * a", gnu, Expected{" a", kMd5, THashType::MD5}},
      {kMd5 + " **a", gnu, Expected{"*a", kMd5, THashType::MD5}},
      {kMd5 + " a b.txt  ", gnu, Expected{"a b.txt  ", kMd5, THashType::MD5}},  // trailing blanks stay
      {kMd5 + " ", gnu, Expected{"", kMd5, THashType::MD5}},
      {kSha1 + "  x", gnu, Expected{"x", kSha1, THashType::SHA1}},
      {std::string(56, 'a') + "  x", gnu, Expected{"x", std::string(56, 'a'), THashType::SHA224}},
      {kSha256 + " x", gnu, Expected{"x", kSha256, THashType::SHA256}},
      {std::string(96, 'B') + "  x", gnu, Expected{"x", std::string(96, 'B'), THashType::SHA384}},
      {k128 + "  x", gnu, Expected{"x", k128, THashType::SHA512}},
      {"b70b4c26 *name", gnu, Expected{"name", "b70b4c26", THashType::CRC32}},
      {"b70b4c26 name", gnu, Expected{"name", "b70b4c26", THashType::CRC32}},
      {kSha256 + "  x", b2, Expected{"x", kSha256, THashType::BLAKE2b}},  // b2sum -l 256
      {"ab  x", b2, Expected{"x", "ab", THashType::BLAKE2b}},
      {"\\" + kMd5 + "  a\\\\b\\nc", gnu, Expected{"a\\b\nc", kMd5, THashType::MD5}},
      {"\\" + kMd5 + "  dangling\\", gnu, std::nullopt},
      {"\\" + kMd5 + "  a\\t", gnu, std::nullopt},
      {kMd5 + "\ta.txt", gnu, std::nullopt},  // a tab is no separator
      {kMd5.substr(1) + " a.txt", gnu, std::nullopt},
      {kMd5 + "0 a.txt", gnu, std::nullopt},
      {"abc  x", b2, std::nullopt},  // no whole byte
      {" " + kMd5 + "  a", gnu, std::nullopt},
      {kMd5, gnu, std::nullopt},
      {"", gnu, std::nullopt},
  };
  for (const Case& c : cases) ExpectFields(SplitDigestFirstFields(c.line, c.rules), c.expected, c.line);
  EXPECT_TRUE(SplitDigestFirstFields(k128 + "  x", gnu)->orBlake2b);
  EXPECT_FALSE(SplitDigestFirstFields(k128 + "  x", DigestLineRules{.sha512 = true})->orBlake2b);
  EXPECT_FALSE(SplitDigestFirstFields(kSha256 + "  x", gnu)->orBlake2b);
}

TEST(SplitTaggedFields, BsdRhashOpenSslAndUnknownTags) {
  const std::string b2_256(64, 'c');
  struct Case {
    std::string line;
    std::optional<Expected> expected;  // kind None: the shape of a tagged line, malformed
  };
  const Case cases[] = {
      {"SHA256 (a.txt) = " + kSha256, Expected{"a.txt", kSha256, THashType::SHA256}},
      {"MD5 (b (1).txt) = " + kMd5, Expected{"b (1).txt", kMd5, THashType::MD5}},
      {"md5 ( a ) = " + kMd5, Expected{" a ", kMd5, THashType::MD5}},
      {"MD5   (name) = " + kMd5, Expected{"name", kMd5, THashType::MD5}},  // RHash pads its tags
      {"SHA1  (name) = " + kSha1 + "  ", Expected{"name", kSha1, THashType::SHA1}},
      {"MD5(name)= " + kMd5, Expected{"name", kMd5, THashType::MD5}},  // OpenSSL
      {"SHA2-256(x)= " + kSha256, Expected{"x", kSha256, THashType::SHA256}},
      {"SHA384 (x) = " + std::string(96, 'a'), Expected{"x", std::string(96, 'a'), THashType::SHA384}},
      {"SHA224 (x) = " + std::string(56, 'a'), Expected{"x", std::string(56, 'a'), THashType::SHA224}},
      {"BLAKE2b (x) = " + k128, Expected{"x", k128, THashType::BLAKE2b}},
      {"BLAKE2b-256 (x) = " + b2_256, Expected{"x", b2_256, THashType::BLAKE2b}},
      {"BLAKE2b512(x)= " + k128, Expected{"x", k128, THashType::BLAKE2b}},
      {"CRC32 (x) = 352441c2", Expected{"x", "352441c2", THashType::CRC32}},
      {"\\MD5 (a\\\\b) = " + kMd5, Expected{"a\\b", kMd5, THashType::MD5}},
      {"BLAKE2b-384 (x) = " + b2_256, Expected{"x", b2_256, THashType::None}},  // wrong length
      {"BLAKE2b-25 (x) = " + b2_256, Expected{"x", b2_256, THashType::None}},
      {"SHA256 (x) = " + kMd5, Expected{"x", kMd5, THashType::None}},
      {"SM3 (x) = " + kSha256, Expected{"x", kSha256, THashType::None}},  // a kind not known here
      {"MD5 () = " + kMd5, Expected{"", kMd5, THashType::None}},
      {"MD5 (x) " + kMd5, std::nullopt},
      {"MD5 x = " + kMd5, std::nullopt},
      {"MD5 (x) = ", std::nullopt},
      {kMd5 + "  x", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) ExpectFields(SplitTaggedFields(c.line), c.expected, c.line);
}

TEST(SplitEntryFields, TheFirstFormWhoseShapeTheLineHas) {
  struct Case {
    std::string line;
    std::optional<Expected> expected;
  };
  const Case cases[] = {
      {"my file.bin 352441C2", Expected{"my file.bin", "352441C2", THashType::CRC32}},  // SFV
      {"b70b4c26 name", Expected{"name", "b70b4c26", THashType::CRC32}},
      {"12345678 abcdef01", Expected{"12345678", "abcdef01", THashType::CRC32}},  // both: SFV
      {"12345678 *abcdef01", Expected{"abcdef01", "12345678", THashType::CRC32}},
      // A digest other than a CRC comes first even when the name ends like an SFV line.
      {kMd5 + "  file 20261210", Expected{"file 20261210", kMd5, THashType::MD5}},
      {"MD5 (x) = " + kMd5, Expected{"x", kMd5, THashType::MD5}},
      {"MD4 (x) = 12345678", Expected{"x", "12345678", THashType::None}},  // tagged, not SFV
      {std::string(48, 'a') + "  x", std::nullopt},
      {"hello world", std::nullopt},
  };
  for (const Case& c : cases) ExpectFields(SplitEntryFields(c.line, DigestLineRules{}), c.expected, c.line);
}

TEST(ListLineWalker, EveryLineAnEntryPassedOverOrMalformed) {
  struct Seen {
    std::size_t number;
    LineRole role;
    std::string text;
    bool operator==(const Seen&) const = default;
  };
  struct Case {
    const char* label;
    std::string text;
    THashType table;
    std::vector<Seen> lines;
  };
  const std::string md5a = kMd5 + "  a";
  const Case cases[] = {
      {"blank lines and comments anywhere",
       "# made by hand\r\n\r\n" + md5a + "\r\n; another\r\n  \t\r\n" + md5a + "\r\n",
       THashType::None,
       {{3, LineRole::Entry, md5a}, {6, LineRole::Entry, md5a}}},
      {"malformed lines are rows of their own",
       md5a + "\nnot an entry\n" + kMd5.substr(1) + "  b\n" + md5a + "\n",
       THashType::None,
       {{1, LineRole::Entry, md5a},
        {2, LineRole::Malformed, "not an entry"},
        {3, LineRole::Malformed, kMd5.substr(1) + "  b"},
        {4, LineRole::Entry, md5a}}},
      {"CR CR LF line ends",
       md5a + "\r\r\n" + md5a + "\r\r\n\r\r\n" + md5a + "\r\r\n",
       THashType::None,
       {{1, LineRole::Entry, md5a}, {2, LineRole::Entry, md5a}, {4, LineRole::Entry, md5a}}},
      {"a PGP-signed list",
       "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" + md5a + "\n- " + md5a +
           "\n-----BEGIN PGP SIGNATURE-----\n\niQIzBAEBCAAdFiEE\n=abcd\n-----END PGP SIGNATURE-----\n",
       THashType::None,
       {{4, LineRole::Entry, md5a}, {5, LineRole::Entry, md5a}}},
      {"the program's table to its closing line",
       "Name  CRC32  Bytes\r\n-  -  -\r\na  352441C2  3\r\n\r\nbroken\r\n# note\r\nb c  1A  2\r\n----\r\nTotal  2\r\n",
       THashType::CRC32,
       {{3, LineRole::Entry, "a  352441C2  3"},
        {5, LineRole::Malformed, "broken"},
        {7, LineRole::Entry, "b c  1A  2"}}},
      {"a signed table: its closing line escaped",
       "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\nName  CRC  Bytes\n- -  -  -\na  61DA  3\n- ---\nT  1  "
       "2\n-----BEGIN PGP SIGNATURE-----\nx\n-----END PGP SIGNATURE-----\n",
       THashType::CRC16,
       {{6, LineRole::Entry, "a  61DA  3"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ListLineWalker walker(c.text, c.table, DigestLineRules{});
    std::vector<Seen> seen;
    while (const std::optional<ListLine> line = walker.Next()) {
      seen.push_back({line->number, line->role, c.text.substr(line->offset, line->length)});
    }
    EXPECT_EQ(seen, c.lines);
  }
}

TEST(DetectListStart, ByContentWithinTheFirstLines) {
  const std::string md5a = kMd5 + "  a\n";
  struct Case {
    const char* label;
    std::string text;
    ListLayout layout;
    THashType kind;
  };
  const Case cases[] = {
      {"a table", "Name  CRC  Bytes\n-  -  -\nx\n", ListLayout::Table, THashType::CRC16},
      {"a table after a comment", "# list\r\n\r\nName  CRC32  Bytes\r\n-  -  -\r\nx\r\n", ListLayout::Table,
       THashType::CRC32},
      {"a header with nothing after it", "Name  CRC32  Bytes\r\n-  -  -\r\n", ListLayout::None, THashType::None},
      {"a header of other case", "name  CRC32  Bytes\n-  -  -\n" + md5a, ListLayout::Lines, THashType::MD5},
      {"a header without separator", "Name  CRC32  Bytes\nx\n", ListLayout::None, THashType::None},
      {"lines", md5a, ListLayout::Lines, THashType::MD5},
      {"a leading comment", "# SHA256 sums\n" + kSha256 + "  a\n", ListLayout::Lines, THashType::SHA256},
      {"a first line malformed", "hello world\n" + md5a, ListLayout::Lines, THashType::MD5},
      {"an unknown tag first", "SM3 (x) = " + kSha256 + "\n" + md5a, ListLayout::Lines, THashType::MD5},
      {"signed", "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" + md5a, ListLayout::Lines, THashType::MD5},
      {"eight malformed lines first", Repeat("x\n", 8) + md5a, ListLayout::Lines, THashType::MD5},
      {"nine malformed lines first", Repeat("x\n", 9) + md5a, ListLayout::None, THashType::None},
      {"a lone digest", "  " + kSha256 + "\r\n", ListLayout::Digest, THashType::SHA256},
      {"a lone digest of no kind", std::string(48, 'a') + "\n", ListLayout::None, THashType::None},
      {"a binary file",
       std::string("\x7F"
                   "ELF\0\0\n",
                   7) +
           md5a,
       ListLayout::None, THashType::None},
      {"nothing", "", ListLayout::None, THashType::None},
      {"comments only", "# a\n; b\n\n", ListLayout::None, THashType::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ListStart start = DetectListStart(c.text, true, "x.sha256");
    EXPECT_EQ(start.layout, c.layout);
    EXPECT_EQ(start.kind, c.kind);
  }
}

TEST(DetectListStart, CutTextAndTheWindow) {
  const std::string md5a = kMd5 + "  a\n";
  // The last line of cut text may be incomplete: it is not looked at.
  EXPECT_FALSE(IsChecksumListStart(kMd5 + "  a", false));
  EXPECT_TRUE(IsChecksumListStart(md5a + kMd5.substr(0, 5), false));
  // A lone digest is one only when the text is the whole file; eight digits only by the name.
  EXPECT_FALSE(IsChecksumListStart(kSha256, false, "x.sha256"));
  EXPECT_TRUE(IsChecksumListStart("b70b4c26\n", true, "setup.zip.crc32"));
  EXPECT_FALSE(IsChecksumListStart("20261210\n", true, "date.txt"));
  // Cut text that ended while its lines were still undecided may show a list further on; nine
  // malformed lines or a binary start decide.
  EXPECT_TRUE(DetectListStart(Repeat("# comment\n", 100), false).cutShort);
  EXPECT_TRUE(DetectListStart("Name  CRC32  Bytes\n", false).cutShort);
  EXPECT_FALSE(DetectListStart(Repeat("x\n", 9), false).cutShort);
  EXPECT_FALSE(DetectListStart(Repeat("# comment\n", 100), true).cutShort);
  // An entry beyond the window is not looked for.
  const std::string comments(kDetectionWindow, '#');
  EXPECT_FALSE(IsChecksumListStart(comments + "\n" + md5a, true));
  EXPECT_TRUE(IsChecksumListStart("#\n" + md5a + comments, true));
}

TEST(DigestRulesOfListName, TheNameDecidesLongDigests) {
  struct Case {
    const char* name;
    bool blake2b, sha512, blake3;
  };
  const Case cases[] = {
      {"B2SUMS", true, false, false},      {"b2sums", true, false, false},         {"x.b2", true, false, false},
      {"x.BLAKE2B", true, false, false},   {"SHA512SUMS", false, true, false},     {"x.sha512", false, true, false},
      {"SHA256SUMS", false, false, false}, {"checksums.txt", false, false, false}, {"", false, false, false},
      {"B3SUMS", false, false, true},      {"x.b3", false, false, true},           {"x.Blake3", false, false, true},
      {"b3", false, false, false},         {"x.b32", false, false, false},
  };
  for (const Case& c : cases) {
    const DigestLineRules rules = DigestRulesOfListName(c.name);
    EXPECT_EQ(rules.blake2b, c.blake2b) << c.name;
    EXPECT_EQ(rules.sha512, c.sha512) << c.name;
    EXPECT_EQ(rules.blake3, c.blake3) << c.name;
  }
}
