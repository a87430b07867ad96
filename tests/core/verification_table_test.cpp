#include "core/verification_table.h"

#include <gtest/gtest.h>

#include <string>

#include "core/hex.h"

namespace {

struct Row {
  std::string line;
  std::optional<TVerification> verification;  // nullopt: not verified
};

}  // namespace

// Whatever a row stores or derives, it gives back exactly the outcome and the texts recorded.
TEST(VerificationTable, GivesBackWhatWasRecorded) {
  const Row rows[] = {
      {"a.txt  352441c2  3", TVerification{TVerifyResult::Correct, "352441C2", "3"}},
      {"b.txt  352441C2  1,234", TVerification{TVerifyResult::Correct, "352441C2", "1,234"}},
      {"c.txt  352441C2  3", TVerification{TVerifyResult::HashMismatch, "00000000", "3"}},
      {"d.txt  352441C2  3", TVerification{TVerifyResult::SizeMismatch, "352441C2", "4"}},
      {"e.txt  352441C2  3", TVerification{TVerifyResult::OpenFailed, "", ""}},
      {"f.txt  352441C2  3", std::nullopt},
      {"g.txt  352441C2  3", TVerification{TVerifyResult::SizeMismatch, "352441C2", ""}},
      {"h.txt  352441C2  9", TVerification{TVerifyResult::HashMismatch, "FFFFFFFF", "9"}},
  };
  std::string text = "Name  CRC32  Bytes\r\n-  -  -\r\n";
  for (const Row& row : rows) text += row.line + "\r\n";
  VerificationTable table(ParseChecksumList(text));
  ASSERT_EQ(table.size(), std::size(rows));
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (rows[i].verification) table.Record(i, *rows[i].verification);
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(rows[i].line);
    const TVerification got = table.Verification(i);
    if (!rows[i].verification) {
      EXPECT_FALSE(table.Result(i).has_value());
      EXPECT_EQ(got.foundHash, "");
      EXPECT_EQ(got.foundBytes, "");
      continue;
    }
    EXPECT_EQ(table.Result(i), rows[i].verification->result);
    EXPECT_EQ(got.result, rows[i].verification->result);
    EXPECT_EQ(got.foundHash, rows[i].verification->foundHash);
    EXPECT_EQ(got.foundBytes, rows[i].verification->foundBytes);
  }
  EXPECT_EQ(table.List().Entry(6).name, "g.txt");
}

TEST(VerificationTable, ARowVerifiedAgainShowsItsNewestTexts) {
  VerificationTable table(ParseChecksumList("Name  CRC32  Bytes\r\n-  -  -\r\na  1  2\r\nb  1  2\r\n"));
  table.Record(1, {TVerifyResult::HashMismatch, "00000002", "2"});
  table.Record(0, {TVerifyResult::HashMismatch, "00000003", "2"});
  table.Record(1, {TVerifyResult::SizeMismatch, "00000001", "5"});
  EXPECT_EQ(table.Verification(0).foundHash, "00000003");
  EXPECT_EQ(table.Verification(1).foundHash, "00000001");
  EXPECT_EQ(table.Verification(1).foundBytes, "5");
  EXPECT_EQ(table.Result(1), TVerifyResult::SizeMismatch);
}

TEST(VerificationTable, UnlistedRowsFollowTheListWithTheirNamesAlone) {
  VerificationTable table(ParseChecksumList("0cc175b9c0f1b6a831c399e269772661  a.txt\n"));
  table.Record(0, {TVerifyResult::Correct, "0CC175B9C0F1B6A831C399E269772661", ""});
  table.AddUnlisted("sub\\new.txt");
  table.AddUnlisted("z.txt");
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table.ListedCount(), 1u);
  EXPECT_EQ(table.Entry(0).name, "a.txt");
  EXPECT_EQ(table.Entry(0).hash, "0cc175b9c0f1b6a831c399e269772661");
  for (const std::size_t i : {1u, 2u}) {
    EXPECT_EQ(table.Result(i), TVerifyResult::Unlisted);
    EXPECT_EQ(table.Verification(i).result, TVerifyResult::Unlisted);
    EXPECT_EQ(table.Verification(i).foundHash, "");
    EXPECT_EQ(table.Entry(i).hash, "");
    EXPECT_EQ(table.Kind(i), THashType::MD5);
  }
  EXPECT_EQ(table.Entry(1).name, "sub\\new.txt");
  EXPECT_EQ(table.Entry(2).name, "z.txt");
}

// Each row says what it is: a malformed line with its line number, a 128-digit entry by the kind
// it matched as, the file that was no list by its own outcome, the file that could not be read
// with its reason.
TEST(VerificationTable, ResultTextsOfEveryKindOfRow) {
  const std::string digest(128, 'e');
  VerificationTable table(ParseChecksumList("# sums\n" + digest + "  a\nnot an entry\n" + digest + "  b\n", "sums"));
  ASSERT_EQ(table.size(), 3u);
  table.Record(
      0, {.result = TVerifyResult::Correct, .foundHash = AsciiUpper(digest), .foundBytes = "", .matchedBlake2b = true});
  table.Record(1, {TVerifyResult::Malformed, "", ""});
  table.Record(2, {TVerifyResult::HashMismatch, std::string(128, 'F'), ""});
  table.AddNotAList("notes.txt");
  table.AddUnreadable("held.md5", u8"使用中");
  EXPECT_EQ(table.Kind(0), THashType::BLAKE2b);
  EXPECT_TRUE(table.Verification(0).matchedBlake2b);
  EXPECT_EQ(table.Kind(2), THashType::SHA512);
  EXPECT_EQ(table.Kind(1), THashType::None);
  EXPECT_EQ(table.ResultText(0), u8"");
  EXPECT_EQ(table.ResultText(1), u8"3行目の形式が不正です");
  EXPECT_EQ(table.ResultText(2), u8"SHA512不一致");
  EXPECT_EQ(table.Result(3), TVerifyResult::NotAList);
  EXPECT_EQ(table.Entry(3).name, "notes.txt");
  EXPECT_EQ(table.ResultText(3), u8"チェックサムリストではありません");
  EXPECT_EQ(table.Result(4), TVerifyResult::Unreadable);
  EXPECT_EQ(table.Entry(4).name, "held.md5");
  EXPECT_EQ(table.ResultText(4), u8"読めません (使用中)");
}
