#include "core/verification_table.h"

#include <algorithm>
#include <utility>

#include "core/hex.h"

namespace {

// A row's byte: 0 not verified, else the result + 1 in the low bits and where its found texts
// come from in the high bits.
constexpr std::uint8_t kResultMask = 0x0F;
constexpr std::uint8_t kFoundExpected = 0x10;   // the expected texts, the hash in upper case
constexpr std::uint8_t kFoundStored = 0x20;     // in the stored texts
constexpr std::uint8_t kMatchedBlake2b = 0x40;  // TVerification::matchedBlake2b

}  // namespace

VerificationTable::VerificationTable(ChecksumList list) : list_(std::move(list)), rows_(list_.size(), 0) {}

void VerificationTable::Record(std::size_t i, const TVerification& verification) {
  std::uint8_t& row = rows_.at(i);
  row = static_cast<std::uint8_t>(static_cast<std::uint8_t>(verification.result) + 1);
  if (verification.matchedBlake2b) row |= kMatchedBlake2b;
  if (verification.foundHash.empty() && verification.foundBytes.empty()) return;
  const ListFields expected = list_.Fields(i);
  if (verification.foundBytes == expected.size && verification.foundHash == AsciiUpper(expected.hash)) {
    row |= kFoundExpected;
    return;
  }
  row |= kFoundStored;
  // Rows come in order, so this appends; a row verified again gets a newer entry after its old
  // one, and the newest is the one read.
  const StoredFound found{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(verification.foundHash.size()),
                          static_cast<std::uint32_t>(verification.foundBytes.size()), storedText_.size()};
  stored_.insert(std::upper_bound(stored_.begin(), stored_.end(), i, RowBefore), found);
  storedText_ += verification.foundHash;
  storedText_ += verification.foundBytes;
}

ListEntry VerificationTable::Entry(std::size_t i) const {
  if (i >= rows_.size()) return {.name = fileRows_.at(i - rows_.size()).name, .hash = {}, .size = {}};
  return list_.Entry(i);
}

THashType VerificationTable::Kind(std::size_t i) const {
  if (i >= rows_.size()) return list_.Kind();
  return (rows_[i] & kMatchedBlake2b) != 0 ? THashType::BLAKE2b : list_.Fields(i).kind;
}

std::u8string VerificationTable::ResultText(std::size_t i) const {
  const std::optional<TVerifyResult> result = Result(i);
  if (!result) return {};
  if (*result == TVerifyResult::Malformed) return MalformedLineText(list_.LineNumber(i));
  if (*result == TVerifyResult::Unreadable) return UnreadableText(fileRows_.at(i - rows_.size()).reason);
  return VerifyResultText(*result, Kind(i));
}

std::optional<TVerifyResult> VerificationTable::Result(std::size_t i) const {
  if (i >= rows_.size() && i - rows_.size() < fileRows_.size()) return fileRows_[i - rows_.size()].result;
  const std::uint8_t row = rows_.at(i);
  if ((row & kResultMask) == 0) return std::nullopt;
  return static_cast<TVerifyResult>((row & kResultMask) - 1);
}

bool VerificationTable::RowBefore(std::size_t row, const StoredFound& found) { return row < found.row; }

TVerification VerificationTable::Verification(std::size_t i) const {
  TVerification verification;
  const std::optional<TVerifyResult> result = Result(i);
  if (!result || i >= rows_.size()) {
    if (result) verification.result = *result;
    return verification;
  }
  verification.result = *result;
  const std::uint8_t row = rows_[i];
  verification.matchedBlake2b = (row & kMatchedBlake2b) != 0;
  if ((row & kFoundExpected) != 0) {
    const ListFields expected = list_.Fields(i);
    verification.foundHash = AsciiUpper(expected.hash);
    verification.foundBytes = expected.size;
  } else if ((row & kFoundStored) != 0) {
    const StoredFound& found = *std::prev(std::upper_bound(stored_.begin(), stored_.end(), i, RowBefore));
    const std::string_view text(storedText_);
    verification.foundHash = text.substr(found.offset, found.hashLength);
    verification.foundBytes = text.substr(found.offset + found.hashLength, found.bytesLength);
  }
  return verification;
}
