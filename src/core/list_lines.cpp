#include "core/list_lines.h"

namespace {

// The closing line of the program's table: dashes alone.
bool IsClosingLine(std::string_view line) {
  line = TrimBlanksEnd(line);
  return !line.empty() && line.find_first_not_of('-') == std::string_view::npos;
}

// The text up to its last line end: a line cut off by the end of what was read is no line yet.
std::string_view WholeLines(std::string_view text) {
  const std::size_t end = text.find_last_of("\r\n");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

std::optional<ListFields> SplitEntryFields(std::string_view line, const DigestLineRules& rules) {
  if (std::optional<ListFields> tagged = SplitTaggedFields(line)) return tagged;
  std::optional<ListFields> digestFirst = SplitDigestFirstFields(line, rules);
  if (digestFirst) {
    const std::size_t digestEnd =
        static_cast<std::size_t>(digestFirst->hash.data() - line.data()) + digestFirst->hash.size();
    if (digestFirst->kind != THashType::CRC32 || line.substr(digestEnd, 2) == " *") return digestFirst;
  }
  if (std::optional<ListFields> sfv = SplitSfvFields(line)) return sfv;
  return digestFirst;
}

THashType TableHeaderKind(std::string_view line) {
  const std::optional<ListFields> fields = SplitTableFields(line);
  if (!fields || fields->name != "Name" || fields->size != "Bytes") return THashType::None;
  if (fields->hash == "CRC") return THashType::CRC16;
  if (fields->hash == "CRC32") return THashType::CRC32;
  return THashType::None;
}

bool IsSeparatorLine(std::string_view line) {
  const std::optional<ListFields> fields = SplitTableFields(line);
  return fields && fields->name.starts_with('-') && fields->hash.starts_with('-') && fields->size.starts_with('-');
}

ListLineWalker::ListLineWalker(std::string_view text, THashType table, const DigestLineRules& rules)
    : text_(text), table_(table), rules_(rules), tableLinesToPass_(table == THashType::None ? 0 : 2) {}

bool ListLineWalker::PassesArmour(std::string_view line) {
  const std::string_view trimmed = TrimBlanksEnd(line);
  switch (armour_) {
    case Armour::Header:
      // Its "Hash:" lines up to the blank line that ends them.
      if (trimmed.empty()) armour_ = Armour::Body;
      return false;
    case Armour::Signature:
      if (trimmed == "-----END PGP SIGNATURE-----") armour_ = Armour::None;
      return false;
    default: break;
  }
  if (trimmed == "-----BEGIN PGP SIGNED MESSAGE-----") {
    armour_ = Armour::Header;
    return false;
  }
  if (trimmed == "-----BEGIN PGP SIGNATURE-----") {
    armour_ = Armour::Signature;
    return false;
  }
  return true;
}

std::optional<ListLine> ListLineWalker::Next() {
  while (!ended_ && at_ < text_.size()) {
    const LineSpan span = FirstLine(text_.substr(at_));
    ListLine found;
    found.offset = at_;
    found.number = ++number_;
    std::string_view line = text_.substr(at_, span.length);
    at_ += span.length + span.endLength;
    if (!PassesArmour(line)) continue;
    // A signed message escapes its lines that begin with "-".
    if (armour_ == Armour::Body && line.starts_with("- ")) {
      line.remove_prefix(2);
      found.offset += 2;
    }
    if (IsBlankLine(line)) continue;
    found.length = line.size();
    if (tableLinesToPass_ > 0) {
      --tableLinesToPass_;
      continue;
    }
    if (table_ != THashType::None) {
      if (SplitTableFields(line)) {
        found.role = LineRole::Entry;
        found.kind = table_;
      } else if (IsClosingLine(line)) {
        ended_ = true;
        break;
      } else if (IsCommentLine(line)) {
        continue;
      }
      return found;
    }
    if (IsCommentLine(line)) continue;
    const std::optional<ListFields> fields = SplitEntryFields(line, rules_);
    if (fields && fields->kind != THashType::None) {
      found.role = LineRole::Entry;
      found.kind = fields->kind;
    }
    return found;
  }
  return std::nullopt;
}

ListStart DetectListStart(std::string_view text, bool wholeFile, std::string_view listFileName) {
  if (wholeFile) {
    if (const std::optional<std::string_view> digest = SoleDigest(text, listFileName)) {
      return {ListLayout::Digest, DigestFirstKind(digest->size(), DigestRulesOfListName(listFileName))};
    }
  }
  const bool cut = !wholeFile || text.size() > kDetectionWindow;
  const std::string_view window = cut ? WholeLines(text.substr(0, kDetectionWindow)) : text;
  // No list holds a NUL before its first entry (a name may: it then names no file): a binary
  // file that happens to hold a line of a list's shape is none.
  const auto binary = [&window](std::size_t upTo) {
    return window.substr(0, upTo).find('\0') != std::string_view::npos;
  };
  ListLineWalker walker(window, THashType::None, DigestRulesOfListName(listFileName));
  int malformed = 0;
  bool first = true;
  while (const std::optional<ListLine> line = walker.Next()) {
    if (first) {
      first = false;
      const THashType table = TableHeaderKind(window.substr(line->offset, line->length));
      ListLineWalker after = walker;
      const std::optional<ListLine> separator = after.Next();
      // A header and its separator with nothing after them are no list.
      if (table != THashType::None && separator &&
          IsSeparatorLine(window.substr(separator->offset, separator->length)) && after.Offset() < text.size()) {
        if (binary(line->offset)) return {};
        return {ListLayout::Table, table};
      }
    }
    if (line->role == LineRole::Entry) {
      if (binary(line->offset)) return {};
      return {ListLayout::Lines, line->kind};
    }
    if (++malformed > kMaxMalformedBeforeEntry) return {};
  }
  ListStart none;
  none.cutShort = cut && text.size() < kDetectionWindow;
  return none;
}

bool IsChecksumListStart(std::string_view text, bool wholeFile, std::string_view listFileName) {
  return DetectListStart(text, wholeFile, listFileName).layout != ListLayout::None;
}
