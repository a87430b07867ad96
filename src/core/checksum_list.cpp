#include "core/checksum_list.h"

#include <limits>
#include <utility>

#include "core/list_forms.h"

namespace {

// Calls entryAt with the offset of every entry line from `from` on, up to the first line that
// does not split by the form's rule, or over such lines for the forms that pass them over.
template <typename EntryAt>
void ForEachEntryLine(std::string_view text, std::size_t from, ListForm form, EntryAt entryAt) {
  for (std::size_t at = from; at < text.size();) {
    const LineSpan line = FirstLine(text.substr(at));
    if (SplitFormFields(text.substr(at, line.length), form)) {
      entryAt(at);
    } else if (!SkipsBadLines(form)) {
      return;
    }
    at += line.length + line.endLength;
  }
}

}  // namespace

ListFields ChecksumList::Fields(std::size_t i) const {
  const std::string_view rest = std::string_view(text_).substr(lineStarts_.at(i));
  if (form_ == ListForm::Digest) {
    const std::string_view digest = *SoleDigest(rest);
    return {.name = digestName_, .hash = digest, .size = {}, .kind = kind_};
  }
  // Every recorded line split when the list was parsed.
  return *SplitFormFields(rest.substr(0, FirstLine(rest).length), form_);
}

ChecksumList ParseChecksumList(std::string text, std::string_view listFileName) {
  ChecksumList list;
  const ListStart start = DetectListStart(text);
  // Line starts are 32-bit: the loading guard keeps every list far below 4 GiB.
  if (start.kind == THashType::None || text.size() > std::numeric_limits<std::uint32_t>::max()) return list;
  if (start.form == ListForm::Digest) {
    const std::size_t dot = listFileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return list;
    list.digestName_ = listFileName.substr(0, dot);
    list.lineStarts_.push_back(static_cast<std::uint32_t>(start.firstEntry));
  }
  list.kind_ = start.kind;
  list.form_ = start.form;
  // Counted first, so that the starts take their exact room and no growing vector holds twice
  // its size for a moment.
  if (start.form != ListForm::Digest) {
    std::size_t count = 0;
    ForEachEntryLine(text, start.firstEntry, start.form, [&count](std::size_t) { ++count; });
    list.lineStarts_.reserve(count);
    ForEachEntryLine(text, start.firstEntry, start.form,
                     [&list](std::size_t at) { list.lineStarts_.push_back(static_cast<std::uint32_t>(at)); });
  }
  list.text_ = std::move(text);
  return list;
}

std::optional<ListEntry> SplitListLine(std::string_view line, ListForm form) {
  const std::optional<ListFields> fields = SplitFormFields(line, form);
  if (!fields) return std::nullopt;
  return ToListEntry(*fields);
}
