#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/hash_type.h"
#include "core/listread.h"

// Unlisted: a file beside the list's files that no entry names (only when asked to look for them).
// Malformed: a line of the list that is no entry; it names no file and is never correct.
// NotAList: the one row of a page for a file given by name that is no checksum list.
// Unreadable: the one row of a page for a file or folder that could not be read or listed.
// NetworkRefused and BadName: names that are never opened, one on another computer, one that
// names no file on a disk.
enum class TVerifyResult : std::uint8_t {
  Correct,
  OpenFailed,
  HashMismatch,
  SizeMismatch,
  Unlisted,
  Malformed,
  NotAList,
  Unreadable,
  NetworkRefused,
  BadName,
};

// What hashing the named file found; the caller passes nullopt when it could not be opened or read.
struct FoundFile {
  std::string hash;
  std::uint64_t size = 0;
};

// The verdict on one entry with the texts the FHash and FBytes columns show.
struct TVerification {
  TVerifyResult result = TVerifyResult::Correct;
  std::string foundHash;
  std::string foundBytes;
  // The file matched as BLAKE2b-512 an entry of 128 digits read as SHA-512 (ListFields::orBlake2b).
  bool matchedBlake2b = false;
};

// Not found: OpenFailed with empty texts. Otherwise foundHash is the hash found; foundBytes is
// the size found, grouped with the separator when the expected size holds a "," and plain
// otherwise, and empty for an entry without a size (digest lists, SFV). The sizes are compared as texts and
// a size mismatch wins over a hash mismatch; hashes compare ignoring the case of ASCII letters.
TVerification VerifyEntry(const ListEntry& expected, const std::optional<FoundFile>& found,
                          std::string_view thousandsSeparator);

// The Error column's text of a result: empty for Correct, else "ファイルオープン失敗",
// HashColumnTitle(kind) + "不一致", "サイズ不一致", "リストにないファイル", "行の形式が不正です",
// "チェックサムリストではありません", "読めません", "ネットワーク上のパスは開きません" or "名前が不正です".
// UTF-8, typed as UI text.
std::u8string VerifyResultText(TVerifyResult result, THashType kind);

// An unreadable row's text with its reason: "読めません (アクセス拒否)".
std::u8string UnreadableText(std::u8string_view reason);

// A malformed row's text with its line: "12行目の形式が不正です".
std::u8string MalformedLineText(std::size_t lineNumber);

// A page's summary: "nファイル (正常 : c  異常 : n-c)".
std::u8string VerificationSummary(std::size_t files, std::size_t correct);
