#include "core/checksum_list.h"

#include <utility>

namespace {

constexpr std::size_t kMaxListText = 0x80000000u;

// Calls row with every line of the text that is not passed over.
template <typename Row>
void ForEachRow(std::string_view text, THashType table, const DigestLineRules& rules, Row row) {
  ListLineWalker walker(text, table, rules);
  while (const std::optional<ListLine> line = walker.Next()) row(*line);
}

}  // namespace

std::size_t ChecksumList::LineNumber(std::size_t i) const {
  if (layout_ == ListLayout::Digest) return 1;
  const std::size_t numbered = i / kNumberedEvery;
  std::size_t number = lineNumbers_.at(numbered);
  const std::string_view text(text_);
  const std::size_t target = Offset(i);
  for (std::size_t at = Offset(numbered * kNumberedEvery);;) {
    const LineSpan span = FirstLine(text.substr(at));
    const std::size_t next = at + span.length + span.endLength;
    if (next > target || span.endLength == 0) return number;
    ++number;
    at = next;
  }
}

ChecksumList ChecksumList::OnlyRow(std::size_t i) const {
  ChecksumList one = *this;
  one.rows_ = {rows_.at(i)};
  one.lineNumbers_ = {static_cast<std::uint32_t>(LineNumber(i))};
  // A list may mix kinds: the one row's is the list's now.
  if (const THashType kind = one.Fields(0).kind; kind != THashType::None) one.kind_ = kind;
  return one;
}

ListFields ChecksumList::Fields(std::size_t i) const {
  const std::string_view rest = std::string_view(text_).substr(Offset(i));
  const std::string_view line = rest.substr(0, FirstLine(rest).length);
  if (IsMalformed(i)) return {.name = line, .hash = {}, .size = {}};
  switch (layout_) {
    case ListLayout::Digest: {
      const std::string_view digest = line.substr(0, line.find_first_not_of("0123456789ABCDEFabcdef"));
      const bool orBlake2b = kind_ == THashType::SHA512 && !rules_.sha512;
      return {.name = digestName_, .hash = digest, .size = {}, .kind = kind_, .escaped = false, .orBlake2b = orBlake2b};
    }
    case ListLayout::Table: {
      ListFields fields = *SplitTableFields(line);
      fields.kind = kind_;
      return fields;
    }
    default:
      // Every entry's line split when the list was parsed.
      return *SplitEntryFields(line, rules_);
  }
}

ChecksumList ParseChecksumList(std::string text, std::string_view listFileName) {
  ChecksumList list;
  if (text.size() >= kMaxListText) return list;
  const ListStart start = DetectListStart(text, true, listFileName);
  if (start.layout == ListLayout::None) return list;
  list.rules_ = DigestRulesOfListName(listFileName);
  if (start.layout == ListLayout::Digest) {
    const std::size_t dot = listFileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return list;
    list.digestName_ = listFileName.substr(0, dot);
    const std::string_view digest = *SoleDigest(text, listFileName);
    list.rows_.push_back(static_cast<std::uint32_t>(digest.data() - text.data()));
    list.lineNumbers_.push_back(1);
  } else {
    const THashType table = start.layout == ListLayout::Table ? start.kind : THashType::None;
    // Counted first, so that the rows take their exact room and no growing vector holds twice
    // its size for a moment.
    std::size_t count = 0;
    ForEachRow(text, table, list.rules_, [&count](const ListLine&) { ++count; });
    list.rows_.reserve(count);
    list.lineNumbers_.reserve(count / ChecksumList::kNumberedEvery + 1);
    ForEachRow(text, table, list.rules_, [&list](const ListLine& line) {
      if (list.rows_.size() % ChecksumList::kNumberedEvery == 0) {
        list.lineNumbers_.push_back(static_cast<std::uint32_t>(line.number));
      }
      const std::uint32_t malformed = line.role == LineRole::Malformed ? ChecksumList::kMalformed : 0;
      list.rows_.push_back(static_cast<std::uint32_t>(line.offset) | malformed);
    });
  }
  list.kind_ = start.kind;
  list.layout_ = start.layout;
  list.text_ = std::move(text);
  return list;
}
