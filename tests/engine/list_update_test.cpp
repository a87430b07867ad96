// Bringing a list up to date: a folder changes after its list was made (a file changed, one gone,
// two new), the list is verified and written again, and the new list is read and verified again.
// Every form the program reads, in every encoding, line end and look it may have.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "core/hex.h"
#include "core/list_bytes.h"
#include "core/listtext.h"
#include "core/numfmt.h"
#include "core/utf8.h"
#include "core/verification_table.h"
#include "engine/hash_file.h"
#include "engine/list_file.h"
#include "engine/list_update.h"
#include "engine/verification_run.h"
#include "support/outcome_recorder.h"
#include "support/scratch_folder.h"
#include "win/unicode.h"

namespace {

const std::string kPhoto = "\xE5\x86\x99\xE7\x9C\x9F.txt";  // 写真.txt: in the ANSI code page (932)
const std::string kKorean = "\xED\x95\x9C.txt";             // 한.txt: in no ANSI code page here
// A line of no form at all; in a table, a line of three blank-separated words is an entry.
const std::string kNoEntry = "no-entry-here";

// One list form: how a line of an entry looks, what comes before the entries, how the names
// separate folders, and in which bytes the text is written.
struct Form {
  const char* label;
  const char* listName;
  THashType kind;
  bool table;  // the program's own table, made by its own writer
  std::function<std::string(const std::string& name, const std::string& hash)> line;
  std::string head;  // lines before the entries
  std::string eol;
  char slash;           // between a folder and a name
  bool bom = false;     // UTF-8 with a byte-order mark
  bool utf16 = false;   // UTF-16 LE with a byte-order mark
  std::string unusual;  // a name beyond ASCII among the files, "" for none
};

std::string HashOf(THashType kind, const std::string& path, std::int64_t& size) {
  std::string hash;
  EXPECT_EQ(HashFileChecked(kind, path, hash, size, nullptr, nullptr), THashFailure::None) << path;
  return hash;
}

std::string Utf16Le(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : Utf16FromUtf8(text)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

class ListUpdateTest : public testing::Test {
 protected:
  // The folder as the list saw it, with a malformed line among the entries.
  std::string MakeListed(const Form& form) {
    folder_.AddFolder("sub");
    folder_.AddFile("keep.txt", "kept as it is");
    folder_.AddFile("change.txt", "before");
    folder_.AddFile("gone.txt", "to be deleted");
    folder_.AddFile("sub\\old.txt", std::string(5000, 'o'));
    std::vector<std::string> names = {"keep.txt", "change.txt", "gone.txt",
                                      std::string("sub") + form.slash + "old.txt"};
    if (!form.unusual.empty()) {
      folder_.AddFile(form.unusual, "unusual");
      names.push_back(form.unusual);
    }
    std::string text = form.head;
    if (form.table) {
      std::vector<ChecksumRow> rows;
      std::uint64_t total = 0;
      for (const std::string& name : names) {
        std::int64_t size = 0;
        const std::string hash = HashOf(form.kind, folder_.File(Native(name)), size);
        rows.push_back({.Name = name, .Hash = hash, .Bytes = FormatGrouped(static_cast<std::uint64_t>(size), ",")});
        total += static_cast<std::uint64_t>(size);
      }
      std::string table = RenderChecksumList(form.kind, rows, TotalLine(rows.size(), total, ","), DisplayColumns);
      // After the header, the separator and two rows.
      std::size_t at = 0;
      for (int line = 0; line < 4; ++line) at = table.find("\r\n", at) + 2;
      table.insert(at, std::string(kNoEntry) + "\r\n");
      text += table;
    } else {
      for (std::size_t i = 0; i < names.size(); ++i) {
        std::int64_t size = 0;
        text += form.line(names[i], HashOf(form.kind, folder_.File(Native(names[i])), size)) + form.eol;
        if (i == 1) text += std::string(kNoEntry) + form.eol;
      }
    }
    std::string bytes;
    if (form.utf16) {
      bytes = Utf16Le(text);
    } else if (form.bom) {
      bytes = std::string(kUtf8Bom) + text;
    } else {
      bytes = *win::AnsiFromUtf8Exact(text);
    }
    return folder_.AddFile(form.listName, bytes);
  }

  // The folder a week later.
  void ChangeFolder() {
    folder_.AddFile("change.txt", "after the list");
    DeleteFileW(win::WideFromUtf8(folder_.File("gone.txt")).c_str());
    folder_.AddFile("new.txt", "new");
    folder_.AddFile("sub\\new2.txt", std::string(70000, 'n'));
  }

  static std::string Native(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
  }

  // The list at path verified: its names and outcomes.
  struct Verified {
    ChecksumList list;
    std::vector<TVerifyResult> results;
  };
  Verified Verify(const std::string& path) {
    TListRead read = ReadChecksumList(path);
    OutcomeRecorder recorder;
    const TRunResult result =
        RunVerification(read.list, folder_.Path(), TRunOptions{}, ",", recorder, std::stop_token{});
    EXPECT_FALSE(result.cancelled);
    return {std::move(read.list), std::move(recorder.results)};
  }

  TListUpdate Plan(const std::string& path) {
    TListRead read = ReadChecksumList(path);
    VerificationTable table(std::move(read.list));
    OutcomeRecorder recorder;
    class Recording final : public TRunObserver {
     public:
      explicit Recording(VerificationTable& t) : table_(t) {}
      void FileStarting(std::size_t, std::size_t) override {}
      void SetText(std::string_view) override {}
      void ProcessMessages() override {}
      void Settle() override {}
      void RowVerified(std::size_t index, TVerification verification) override { table_.Record(index, verification); }

     private:
      VerificationTable& table_;
    } observer(table);
    (void)RunVerification(table.List(), folder_.Path(), TRunOptions{}, ",", observer, std::stop_token{});
    return PlanListUpdate(table, path, TRunOptions{}, ",", recorder, std::stop_token{});
  }

  std::optional<ScratchFolder> fresh_{std::in_place};
  ScratchFolder& folder_ = *fresh_;
};

std::vector<Form> Forms() {
  const auto gnu = [](const char* mark) {
    return [mark](const std::string& name, const std::string& hash) { return AsciiLower(hash) + " " + mark + name; };
  };
  const auto tagged = [](const std::string& name, const std::string& hash) {
    return "SHA256 (" + name + ") = " + AsciiLower(hash);
  };
  const auto sfv = [](const std::string& name, const std::string& hash) { return name + " " + hash; };
  const auto own = [](const std::string& name, const std::string& hash) { return hash + " " + name; };
  return {
      {"md5sum", "gnu.md5", THashType::MD5, false, gnu(" "), "", "\n", '/', false, false, ""},
      {"sha256sum -b", "binary.sha256", THashType::SHA256, false, gnu("*"), "", "\n", '/', false, false, ""},
      {"b2sum under a name that tells no kind", "long.sums", THashType::BLAKE2b, false, gnu(" "), "", "\n", '/', false,
       false, ""},
      {"tagged", "tag.sha256", THashType::SHA256, false, tagged, "", "\n", '/', false, false, ""},
      {"sfv", "hand.sfv", THashType::CRC32, false, sfv, "; made by hand\r\n", "\r\n", '\\', false, false, ""},
      {"own md5 upper", "own.md5", THashType::MD5, false, own, "", "\r\n", '\\', false, false, ""},
      {"own table crc32", "own.crc", THashType::CRC32, true, {}, "", "\r\n", '\\', false, false, ""},
      {"own table crc16", "own16.crc", THashType::CRC16, true, {}, "", "\r\n", '\\', false, false, ""},
      {"ansi md5sum", "ansi.md5", THashType::MD5, false, gnu(" "), "", "\r\n", '\\', false, false, kPhoto},
      {"utf-8 bom md5sum", "bom.md5", THashType::MD5, false, gnu(" "), "", "\n", '/', true, false, kKorean},
      {"utf-8 bom table", "bom.crc", THashType::CRC32, true, {}, "", "\r\n", '\\', true, false, kKorean},
      {"utf-16 sfv", "wide.sfv", THashType::CRC32, false, sfv, "", "\r\n", '\\', false, true, kKorean},
  };
}

TEST_F(ListUpdateTest, EveryFormKeepsItsLookAndVerifiesAgain) {
  for (const Form& form : Forms()) {
    for (const bool replace : {false, true}) {
      SCOPED_TRACE(std::string(form.label) + (replace ? " replacing" : " keeping"));
      fresh_.emplace();
      const std::string path = MakeListed(form);
      const std::string before = folder_.Read(form.listName);
      ChangeFolder();

      const TListUpdate plan = Plan(path);
      ASSERT_EQ(plan.failure, TListUpdateFailure::None);
      const std::string sub = std::string("sub") + form.slash;
      EXPECT_EQ(plan.added, (std::vector<std::string>{"new.txt", sub + "new2.txt"}));
      EXPECT_EQ(plan.dropped, std::vector<std::string>{"gone.txt"});
      EXPECT_EQ(plan.changed, std::vector<std::string>{"change.txt"});
      EXPECT_TRUE(plan.unchecked.empty());
      const std::string bytes = RenderListUpdate(plan, replace);
      folder_.AddFile(form.listName, bytes);

      // The same encoding and line ends.
      EXPECT_EQ(bytes.starts_with(kUtf8Bom), form.bom);
      EXPECT_EQ(bytes.starts_with("\xFF\xFE"), form.utf16);
      const std::string text = form.utf16 ? Utf8FromUtf16Bytes(std::string_view(bytes).substr(2), false)
                               : form.bom ? bytes.substr(3)
                                          : win::Utf8FromAnsi(bytes);
      if (!form.unusual.empty()) {
        EXPECT_NE(text.find(form.unusual), std::string::npos);
      }
      const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
      std::size_t crlf = 0;
      for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++crlf;
      EXPECT_EQ(crlf, form.eol == "\r\n" ? lines : 0) << text;
      EXPECT_EQ(text.find("gone.txt"), std::string::npos) << text;
      EXPECT_NE(text.find(kNoEntry + form.eol), std::string::npos) << text;
      EXPECT_TRUE(text.starts_with(form.head)) << text;

      // The new rows look like the old ones.
      if (!form.table) {
        std::int64_t size = 0;
        const std::string newLine = form.line(sub + "new2.txt", HashOf(form.kind, folder_.File("sub\\new2.txt"), size));
        EXPECT_NE(text.find(newLine + form.eol), std::string::npos) << text;
      } else {
        std::int64_t size = 0;
        const std::string hash = HashOf(form.kind, folder_.File("sub\\new2.txt"), size);
        EXPECT_NE(text.find(hash + "  " + FormatGrouped(static_cast<std::uint64_t>(size), ",")), std::string::npos)
            << text;
        const std::size_t files = form.unusual.empty() ? 5 : 6;
        EXPECT_NE(text.find("Total  " + std::to_string(files) + " Files  "), std::string::npos) << text;
      }

      // Verified again: every row correct but the changed one, unless it was replaced.
      const Verified again = Verify(path);
      EXPECT_EQ(again.list.Layout(), form.table ? ListLayout::Table : ListLayout::Lines);
      std::vector<std::string> wrong;
      for (std::size_t i = 0; i < again.results.size(); ++i) {
        if (again.results[i] != TVerifyResult::Correct && again.results[i] != TVerifyResult::Malformed) {
          wrong.push_back(again.list.Entry(i).name);
        }
      }
      EXPECT_EQ(wrong, replace ? std::vector<std::string>{} : std::vector<std::string>{"change.txt"});
      EXPECT_EQ(again.results.size(), form.unusual.empty() ? 6u : 7u);
      EXPECT_EQ(std::count(again.results.begin(), again.results.end(), TVerifyResult::Malformed), 1);

      // Once up to date, a list stays as it is.
      if (replace) {
        const TListUpdate still = Plan(path);
        EXPECT_TRUE(still.added.empty() && still.dropped.empty() && still.changed.empty());
        EXPECT_EQ(RenderListUpdate(still, false), bytes);
      } else {
        EXPECT_NE(bytes, before);
      }
    }
  }
}

TEST_F(ListUpdateTest, AListThatIsNoLongerTheVerifiedOneIsNotWritten) {
  folder_.AddFile("a.txt", "abc");
  const std::string path = folder_.AddFile("a.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  TListRead read = ReadChecksumList(path);
  VerificationTable table(std::move(read.list));
  OutcomeRecorder recorder;
  // Not verified yet.
  EXPECT_EQ(PlanListUpdate(table, path, TRunOptions{}, ",", recorder, {}).failure, TListUpdateFailure::Unverified);
  table.Record(0, {});
  folder_.AddFile("a.md5", "900150983cd24fb0d6963f7d28e17f72  b.txt\n");
  EXPECT_EQ(PlanListUpdate(table, path, TRunOptions{}, ",", recorder, {}).failure, TListUpdateFailure::ListChanged);
  DeleteFileW(win::WideFromUtf8(path).c_str());
  EXPECT_EQ(PlanListUpdate(table, path, TRunOptions{}, ",", recorder, {}).failure, TListUpdateFailure::Unreadable);
  EXPECT_TRUE(RenderListUpdate(PlanListUpdate(table, path, TRunOptions{}, ",", recorder, {}), true).empty());
}

TEST_F(ListUpdateTest, ALoneDigestIsNotUpdated) {
  std::int64_t size = 0;
  const std::string hash = HashOf(THashType::SHA256, folder_.AddFile("setup.zip", "zip"), size);
  folder_.AddFile("other.txt", "other");
  const std::string path = folder_.AddFile("setup.zip.sha256", AsciiLower(hash) + "\n");
  const TListUpdate plan = Plan(path);
  EXPECT_EQ(plan.failure, TListUpdateFailure::LoneDigest);
  EXPECT_EQ(folder_.Read("setup.zip.sha256"), AsciiLower(hash) + "\n");
}

TEST_F(ListUpdateTest, AFileThatCannotBeReadKeepsItsLine) {
  folder_.AddFile("a.txt", "abc");
  folder_.AddFile("locked.txt", "locked");
  const std::string path = folder_.AddFile(
      "l.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n00000000000000000000000000000000  locked.txt\n");
  // Open without sharing: the verification cannot read it, yet it is there.
  const HANDLE held = CreateFileW(win::WideFromUtf8(folder_.File("locked.txt")).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const TListUpdate plan = Plan(path);
  CloseHandle(held);
  EXPECT_EQ(plan.unchecked, std::vector<std::string>{"locked.txt"});
  EXPECT_TRUE(plan.dropped.empty());
  EXPECT_EQ(RenderListUpdate(plan, true), folder_.Read("l.md5"));
}

}  // namespace
