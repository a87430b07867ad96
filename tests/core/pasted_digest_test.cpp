// Digests found in text copied from a web page, a mail or a list, in every spelling people paste.
#include "core/pasted_digest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// SHA-256 and MD5 of "abc", as sha256sum and md5sum print them.
const std::string kSha256 = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
const std::string kMd5 = "900150983CD24FB0D6963F7D28E17F72";

struct PasteCase {
  const char* label;
  std::string text;
  std::size_t digestBytes;
  std::vector<std::string> digests;
};

TEST(PastedDigest, EverySpellingOfADigest) {
  const std::string lower = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const PasteCase cases[] = {
      {"lower case", lower, 32, {kSha256}},
      {"upper case with line end", kSha256 + "\r\n", 32, {kSha256}},
      {"mixed case", "Ba7816BF8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015AD", 32, {kSha256}},
      {"groups of eight", "ba7816bf 8f01cfea 414140de 5dae2223 b00361a3 96177a9c b410ff61 f20015ad", 32, {kSha256}},
      {"groups over lines", "ba7816bf8f01cfea414140de5dae2223\nb00361a396177a9cb410ff61f20015ad", 32, {kSha256}},
      {"0x", "0x" + lower, 32, {kSha256}},
      {"label", "SHA256: " + lower, 32, {kSha256}},
      {"label without blank", "sha256:" + lower, 32, {kSha256}},
      {"sha256sum line", lower + "  setup.zip\n", 32, {kSha256}},
      {"binary mark", lower + " *setup.zip", 32, {kSha256}},
      {"tag", "SHA256 (setup.zip) = " + lower, 32, {kSha256}},
      {"tag without blanks", "SHA256(setup.zip)=" + lower, 32, {kSha256}},
      {"quoted in a sentence", "The SHA-256 is \"" + lower + "\".", 32, {kSha256}},
      {"at the end of a sentence", "The SHA-256 is " + lower + ".", 32, {kSha256}},
      {"after a word that looks like hex", "dead " + lower, 32, {kSha256}},
      {"base64", "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", 32, {kSha256}},
      {"subresource hash", "sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", 32, {kSha256}},
      {"base64 url-safe", "ungWv48Bz-pBQUDeXa4iI7ADYaOWF3qctBD_YfIAFa0", 32, {kSha256}},
      {"md5 in base64", "kAFQmDzST7DWlj99KOF/cg==", 16, {kMd5}},
      {"md5", "MD5 (abc.txt) = 900150983cd24fb0d6963f7d28e17f72", 16, {kMd5}},
      {"CRC-32", "CRC32: 352441c2", 4, {"352441C2"}},
      {"two lines of a list, each once", lower + "  a\n" + lower + "  b\n" + kMd5 + "  c\n", 16, {kMd5}},
      {"a digest of another length", lower, 16, {}},
      {"one digit short", lower.substr(1), 32, {}},
      {"a letter that is no hex digit", lower.substr(0, 63) + "g", 32, {}},
      {"padding that does not fit", "kAFQmDzST7DWlj99KOF/cg=", 16, {}},
      {"no text", "", 32, {}},
  };
  for (const PasteCase& c : cases) {
    EXPECT_EQ(DigestsInText(c.text, c.digestBytes), c.digests) << c.label;
  }
}

TEST(PastedDigest, OnlyTheFirst64KiBAreLookedAt) {
  const std::string lower = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  EXPECT_EQ(DigestsInText(std::string(64 * 1024 - 65, 'x') + " " + lower, 32), std::vector<std::string>{kSha256});
  EXPECT_TRUE(DigestsInText(std::string(64 * 1024, 'x') + " " + lower, 32).empty());
}

}  // namespace
