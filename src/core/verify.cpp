#include "core/verify.h"

#include <string>

#include "core/hex.h"
#include "core/listtext.h"
#include "core/numfmt.h"

TVerification VerifyEntry(const ListEntry& expected, const std::optional<FoundFile>& found,
                          std::string_view thousandsSeparator) {
  TVerification verification;
  if (!found) {
    verification.result = TVerifyResult::OpenFailed;
    return verification;
  }
  verification.foundHash = found->hash;
  // The list's own size text decides the form: a "," marks the grouped form, and only then is
  // the found size grouped, with this machine's separator. Entries without a size (digest lists,
  // SFV) compare the hash alone.
  if (!expected.size.empty()) {
    verification.foundBytes = expected.size.find(',') != std::string::npos
                                  ? FormatGrouped(found->size, thousandsSeparator)
                                  : std::to_string(found->size);
  }
  if (expected.size != verification.foundBytes) {
    verification.result = TVerifyResult::SizeMismatch;
  } else if (!SameHexIgnoringCase(expected.hash, verification.foundHash)) {
    verification.result = TVerifyResult::HashMismatch;
  }
  return verification;
}

std::u8string VerifyResultText(TVerifyResult result, THashType kind) {
  switch (result) {
    case TVerifyResult::Correct: return {};
    case TVerifyResult::OpenFailed: return u8"ファイルオープン失敗";
    case TVerifyResult::HashMismatch: {
      const std::string title = HashColumnTitle(kind);  // ASCII
      return std::u8string(title.begin(), title.end()) + u8"不一致";
    }
    case TVerifyResult::SizeMismatch: return u8"サイズ不一致";
    case TVerifyResult::Unlisted: return u8"リストにないファイル";
    case TVerifyResult::Malformed: return u8"行の形式が不正です";
    case TVerifyResult::NotAList: return u8"チェックサムリストではありません";
    case TVerifyResult::Unreadable: return u8"読めません";
    case TVerifyResult::NetworkRefused: return u8"ネットワーク上のパスは開きません";
    case TVerifyResult::BadName: return u8"名前が不正です";
  }
  return {};
}

std::u8string UnreadableText(std::u8string_view reason) {
  return VerifyResultText(TVerifyResult::Unreadable, THashType::None) + u8" (" + std::u8string(reason) + u8")";
}

std::u8string MalformedLineText(std::size_t lineNumber) {
  const std::string digits = std::to_string(lineNumber);
  return std::u8string(digits.begin(), digits.end()) + u8"行目の形式が不正です";
}

std::u8string VerificationSummary(std::size_t files, std::size_t correct) {
  const auto number = [](std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u8string(digits.begin(), digits.end());
  };
  return number(files) + u8"ファイル (正常 : " + number(correct) + u8"  異常 : " + number(files - correct) + u8")";
}
