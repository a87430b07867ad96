#include "core/listread.h"

#include "core/list_forms.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The table kind whose header the line is; None for any other line.
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

}  // namespace

ListEntry ToListEntry(const ListFields& fields) {
  // Lines with an escaped name split only when it unescapes.
  std::string name = fields.escaped ? UnescapeName(fields.name).value_or(std::string()) : std::string(fields.name);
  return {std::move(name), std::string(fields.hash), std::string(fields.size)};
}

LineSpan FirstLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return {text.size(), 0};
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  return {end, crlf ? std::size_t{2} : std::size_t{1}};
}

bool IsChecksumListStart(std::string_view firstBytes, bool wholeFile) {
  if (wholeFile) return DetectListStart(firstBytes).form != ListForm::None;
  return firstBytes.starts_with("Name ") || IsMD5Line(firstBytes) || ListTextMayContinue(firstBytes);
}

bool IsMD5Line(std::string_view line) {
  if (line.size() < 33 || line[32] != ' ') return false;
  for (std::size_t i = 0; i < 32; ++i) {
    if (!IsHexDigit(line[i])) return false;
  }
  return true;
}

std::optional<ListFields> SplitTableFields(std::string_view line) {
  line = TrimEnd(line);
  const std::size_t sizeSpace = line.rfind(' ');
  if (sizeSpace == std::string_view::npos) return std::nullopt;
  ListFields fields;
  fields.size = line.substr(sizeSpace + 1);
  line = TrimEnd(line.substr(0, sizeSpace));
  const std::size_t hashSpace = line.rfind(' ');
  if (hashSpace == std::string_view::npos) return std::nullopt;
  fields.hash = line.substr(hashSpace + 1);
  fields.name = TrimEnd(line.substr(0, hashSpace));
  return fields;
}

std::optional<ListEntry> SplitTableLine(std::string_view line) {
  const std::optional<ListFields> fields = SplitTableFields(line);
  if (!fields) return std::nullopt;
  return ToListEntry(*fields);
}

std::optional<ListFields> SplitMD5Fields(std::string_view line) {
  if (!IsMD5Line(line)) return std::nullopt;
  ListFields fields;
  fields.hash = line.substr(0, 32);
  std::string_view name = line.substr(32);
  while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
  if (name.starts_with('*')) name.remove_prefix(1);
  fields.name = name;
  return fields;
}

std::optional<ListEntry> SplitMD5Line(std::string_view line) {
  const std::optional<ListFields> fields = SplitMD5Fields(line);
  if (!fields) return std::nullopt;
  return ToListEntry(*fields);
}

ListStart DetectListStart(std::string_view text) {
  const LineSpan first = FirstLine(text);
  const std::string_view firstLine = text.substr(0, first.length);
  if (IsMD5Line(firstLine)) return {ListForm::Md5, THashType::MD5, 0};
  const THashType table = TableHeaderKind(firstLine);
  if (table != THashType::None) {
    if (first.endLength == 0) return {};
    const std::size_t secondStart = first.length + first.endLength;
    const LineSpan second = FirstLine(text.substr(secondStart));
    const std::size_t entries = secondStart + second.length + second.endLength;
    // A header and its separator with nothing after them are no list.
    if (second.endLength == 0 || entries == text.size()) return {};
    if (!IsSeparatorLine(text.substr(secondStart, second.length))) return {};
    return {table == THashType::CRC16 ? ListForm::Table16 : ListForm::Table32, table, entries};
  }
  if (const std::optional<std::string_view> digest = SoleDigest(text)) {
    return {ListForm::Digest, DigestKindOfLength(digest->size()),
            static_cast<std::size_t>(digest->data() - text.data())};
  }
  // The other tools' files: judged by their first line that holds anything.
  bool sfvNotes = false;
  for (std::size_t at = 0; at < text.size();) {
    const LineSpan span = FirstLine(text.substr(at));
    const std::string_view line = text.substr(at, span.length);
    if (!IsBlankLine(line)) {
      for (const ListForm form : {ListForm::Gnu, ListForm::Bsd}) {
        if (sfvNotes) break;
        if (const std::optional<ListFields> fields = SplitFormFields(line, form)) return {form, fields->kind, at};
      }
      if (!IsSfvNote(line)) {
        if (SplitSfvFields(line)) return {ListForm::Sfv, THashType::CRC32, at};
        return {};
      }
      sfvNotes = true;
    }
    at += span.length + span.endLength;
  }
  return {};
}

std::optional<ListFields> SplitFormFields(std::string_view line, ListForm form) {
  std::optional<ListFields> fields;
  switch (form) {
    case ListForm::Table16:
    case ListForm::Table32:
      fields = SplitTableFields(line);
      if (fields) fields->kind = form == ListForm::Table16 ? THashType::CRC16 : THashType::CRC32;
      return fields;
    case ListForm::Md5:
      fields = SplitMD5Fields(line);
      if (!fields && line.starts_with('\\')) {
        // md5sum escapes a name with "\" or a line end: such a line does not end the list.
        fields = SplitGnuFields(line);
        if (fields && fields->kind != THashType::MD5) fields.reset();
      }
      if (fields) fields->kind = THashType::MD5;
      return fields;
    case ListForm::Gnu: return SplitGnuFields(line);
    case ListForm::Bsd: return SplitBsdFields(line);
    case ListForm::Sfv: return SplitSfvFields(line);
    default: return std::nullopt;
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const LineSpan line = FirstLine(text);
    lines.emplace_back(text.substr(0, line.length));
    text.remove_prefix(line.length + line.endLength);
  }
  return lines;
}

bool ListTextMayContinue(std::string_view textSoFar) {
  const LineSpan first = FirstLine(textSoFar);
  if (first.endLength == 0) return true;
  const std::string_view firstLine = textSoFar.substr(0, first.length);
  if (IsMD5Line(firstLine)) return true;
  if (TableHeaderKind(firstLine) == THashType::None) {
    // The other tools' files: a first line of their shapes, or one that tells nothing yet.
    return IsSfvNote(firstLine) || SoleDigest(firstLine) || SplitGnuFields(firstLine) || SplitBsdFields(firstLine) ||
           SplitSfvFields(firstLine);
  }

  // Text that ends in the CR of a CR LF has no second line yet: rest is empty.
  const std::string_view rest = textSoFar.substr(first.length + first.endLength);
  const LineSpan second = FirstLine(rest);
  if (second.endLength == 0) return true;
  return IsSeparatorLine(rest.substr(0, second.length));
}

bool IsAbsoluteListName(std::string_view name) {
  if (name.starts_with("\\\\")) return true;
  if (name.size() < 3 || name[1] != ':' || name[2] != '\\') return false;
  const char drive = name[0];
  return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}
