#include "engine/list_update.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "core/codepage.h"
#include "core/hex.h"
#include "core/list_bytes.h"
#include "core/list_lines.h"
#include "core/listtext.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "core/utf8.h"
#include "engine/hash_queue.h"
#include "engine/list_file.h"
#include "engine/unlisted_files.h"
#include "engine/verification_run.h"
#include "win/file.h"
#include "win/unicode.h"

namespace {

using Fate = TListUpdate::Fate;

bool HasLowerHex(std::string_view hash) {
  return std::any_of(hash.begin(), hash.end(), [](char c) { return c >= 'a' && c <= 'f'; });
}

// A hash text in the case the list writes its hashes.
std::string InCase(std::string hash, bool lower) { return lower ? AsciiLower(std::move(hash)) : hash; }

// Where the line that holds offset begins: a signed message's "- " escape belongs to it.
std::size_t LineStart(std::string_view text, std::size_t offset) {
  if (offset == 0) return 0;
  const std::size_t end = text.find_last_of("\r\n", offset - 1);
  return end == std::string_view::npos ? 0 : end + 1;
}

// The line end the list uses: that of its first line that has one; a list of one line without
// any gets the program's own.
std::string LineEndOf(std::string_view text) {
  const LineSpan span = FirstLine(text);
  if (span.endLength == 0) return "\r\n";
  return std::string(text.substr(span.length, span.endLength));
}

// The entry line that new rows copy: the first of the kind whose name is not escaped.
struct Template {
  std::string_view line;
  ListFields fields;
};

std::optional<Template> FindTemplate(std::string_view text, const DigestLineRules& rules, THashType kind) {
  ListLineWalker walker(text, THashType::None, rules);
  while (const std::optional<ListLine> line = walker.Next()) {
    if (line->role != LineRole::Entry) continue;
    const std::string_view view = text.substr(line->offset, line->length);
    const std::optional<ListFields> fields = SplitEntryFields(view, rules);
    // 128 digits matched as BLAKE2b-512 when the list's name did not tell.
    const bool ofKind = fields && (fields->kind == kind || (kind == THashType::BLAKE2b && fields->orBlake2b));
    if (ofKind && !fields->escaped) return Template{view, *fields};
  }
  return std::nullopt;
}

// The template's line with another name and hash in their places.
std::string LineFromTemplate(const Template& from, std::string_view name, std::string_view hash) {
  std::string line(from.line);
  const std::size_t namePos = static_cast<std::size_t>(from.fields.name.data() - from.line.data());
  const std::size_t hashPos = static_cast<std::size_t>(from.fields.hash.data() - from.line.data());
  // The later field first, so that the earlier one's position still holds.
  if (namePos > hashPos) {
    line.replace(namePos, from.fields.name.size(), name);
    line.replace(hashPos, from.fields.hash.size(), hash);
  } else {
    line.replace(hashPos, from.fields.hash.size(), hash);
    line.replace(namePos, from.fields.name.size(), name);
  }
  return line;
}

std::string RenderLines(const TListUpdate& plan, bool replaceChanged) {
  const std::string_view text = plan.text;
  const DigestLineRules rules = DigestRulesOfListName(plan.listName);
  const std::string eol = LineEndOf(text);
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  std::size_t row = 0;
  std::size_t afterLastRow = 0;
  bool lastRowEnded = true;
  ListLineWalker walker(text, THashType::None, rules);
  while (const std::optional<ListLine> line = walker.Next()) {
    if (row >= plan.fates.size()) break;
    const std::size_t start = LineStart(text, line->offset);
    const LineSpan span = FirstLine(text.substr(start));
    out += text.substr(copied, start - copied);
    copied = start + span.length + span.endLength;
    const Fate fate = plan.fates[row];
    const std::string_view view = text.substr(line->offset, line->length);
    if (fate == Fate::Changed && replaceChanged) {
      const ListFields fields = *SplitEntryFields(view, rules);
      std::string changed(text.substr(start, line->offset - start));
      changed += view;
      const std::size_t hashPos = static_cast<std::size_t>(fields.hash.data() - view.data()) + (line->offset - start);
      changed.replace(hashPos, fields.hash.size(), InCase(plan.found[row].hash, HasLowerHex(fields.hash)));
      out += changed;
      out += text.substr(start + span.length, span.endLength);
    } else if (fate != Fate::Drop) {
      out += text.substr(start, span.length + span.endLength);
    }
    if (fate != Fate::Drop) lastRowEnded = span.endLength != 0;
    afterLastRow = out.size();
    ++row;
  }
  out += text.substr(copied);
  if (plan.newRows.empty()) return out;

  const std::optional<Template> from = FindTemplate(text, rules, plan.newKind);
  std::string added = lastRowEnded ? "" : eol;
  for (const TListUpdate::NewRow& newRow : plan.newRows) {
    if (from) {
      added += LineFromTemplate(*from, newRow.name, InCase(newRow.hash, HasLowerHex(from->fields.hash)));
    } else {
      added += AsciiLower(newRow.hash) + "  " + newRow.name;
    }
    added += eol;
  }
  out.insert(afterLastRow, added);
  return out;
}

std::uint64_t DigitsValue(std::string_view text) {
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// The program's table rendered again with its rows as they are now and a new total; the lines
// before its header and after its total stay. A malformed line inside it stays in the table,
// after the rows.
std::string RenderTable(const TListUpdate& plan, THashType kind, bool replaceChanged) {
  const std::string_view text = plan.text;
  const std::string eol = LineEndOf(text);
  std::vector<ChecksumRow> rows;
  std::vector<std::string_view> malformed;
  std::size_t row = 0;
  ListLineWalker walker(text, kind, DigestRulesOfListName(plan.listName));
  while (const std::optional<ListLine> line = walker.Next()) {
    const std::string_view view = text.substr(line->offset, line->length);
    const Fate fate = row < plan.fates.size() ? plan.fates[row] : Fate::Keep;
    if (line->role == LineRole::Malformed) {
      malformed.push_back(view);
    } else if (fate != Fate::Drop) {
      const ListFields fields = *SplitTableFields(view);
      ChecksumRow kept{
          .Name = std::string(fields.name), .Hash = std::string(fields.hash), .Bytes = std::string(fields.size)};
      if (fate == Fate::Changed && replaceChanged) {
        kept.Hash = InCase(plan.found[row].hash, HasLowerHex(fields.hash));
        kept.Bytes = plan.found[row].bytes;
      }
      rows.push_back(std::move(kept));
    }
    ++row;
  }
  const std::size_t tableEnd = walker.Offset();
  const bool lower = !rows.empty() && HasLowerHex(rows.front().Hash);
  // Sizes are grouped unless the table writes one of four digits or more without a separator.
  const bool grouped = std::none_of(rows.begin(), rows.end(), [](const ChecksumRow& kept) {
    return kept.Bytes.size() >= 4 && kept.Bytes.find_first_not_of("0123456789") == std::string::npos;
  });
  for (const TListUpdate::NewRow& newRow : plan.newRows) {
    rows.push_back({.Name = newRow.name,
                    .Hash = InCase(newRow.hash, lower),
                    .Bytes = FormatGrouped(newRow.size, grouped ? plan.separator : "")});
  }
  std::uint64_t total = 0;
  for (const ChecksumRow& kept : rows) total += DigitsValue(kept.Bytes);

  // The lines before the header: the first line whose text is a table's header.
  std::size_t header = 0;
  for (std::size_t at = 0; at < text.size();) {
    const LineSpan span = FirstLine(text.substr(at));
    if (TableHeaderKind(text.substr(at, span.length)) != THashType::None) {
      header = at;
      break;
    }
    at += span.length + span.endLength;
  }
  // The total line follows the closing line of dashes, where the walk ended.
  std::size_t after = tableEnd;
  if (after < text.size()) {
    const LineSpan span = FirstLine(text.substr(after));
    after += span.length + span.endLength;
  }

  std::string table = RenderChecksumList(kind, rows, TotalLine(rows.size(), total, plan.separator), DisplayColumns);
  if (!table.empty() && !malformed.empty()) {
    // Before the closing line, the second from the end.
    const std::size_t totalStart = table.rfind("\r\n", table.size() - 3) + 2;
    const std::size_t closingStart = table.rfind("\r\n", totalStart - 3) + 2;
    std::string lines;
    for (const std::string_view line : malformed) {
      lines += line;
      lines += "\r\n";
    }
    table.insert(closingStart, lines);
  }
  if (eol != "\r\n") {
    std::string ends;
    for (std::size_t at = 0;;) {
      const std::size_t found = table.find("\r\n", at);
      ends += table.substr(at, found - at);
      if (found == std::string::npos) break;
      ends += eol;
      at = found + 2;
    }
    table = std::move(ends);
  }
  return std::string(text.substr(0, header)) + table + std::string(text.substr(after));
}

// The text in the list's encoding.
std::string Encode(const std::string& text, const DetectedEncoding& encoding) {
  switch (encoding.encoding) {
    case TextEncoding::Ansi:
      if (std::optional<std::string> ansi = win::AnsiFromUtf8Exact(text)) return std::move(*ansi);
      return std::string(kUtf8Bom) + text;
    case TextEncoding::Utf8: return (encoding.bomLength > 0 ? std::string(kUtf8Bom) : std::string()) + text;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      const bool big = encoding.encoding == TextEncoding::Utf16BE;
      std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
      for (const char16_t unit : Utf16FromUtf8(text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += big ? high : low;
        bytes += big ? low : high;
      }
      return bytes;
    }
  }
  return text;
}

// Names as the list writes them: with "/" where its names use "/" alone.
bool UsesSlashes(const ChecksumList& list) {
  bool slash = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list.IsMalformed(i)) continue;
    const std::string_view name = list.Fields(i).name;
    if (name.find('\\') != std::string_view::npos) return false;
    slash = slash || name.find('/') != std::string_view::npos;
  }
  return slash;
}

bool SameList(const ChecksumList& read, const ChecksumList& verified) {
  if (read.size() != verified.size() || read.Kind() != verified.Kind() || read.Layout() != verified.Layout()) {
    return false;
  }
  for (std::size_t i = 0; i < read.size(); ++i) {
    const ListFields a = read.Fields(i);
    const ListFields b = verified.Fields(i);
    if (a.name != b.name || a.hash != b.hash || a.size != b.size) return false;
  }
  return true;
}

}  // namespace

TListUpdate PlanListUpdate(const VerificationTable& table, const std::string& listPath, const TRunOptions& options,
                           const std::string& separator, TRunObserver& observer, const std::stop_token& cancel) {
  TListUpdate plan;
  const auto fail = [&plan](TListUpdateFailure failure) {
    plan.failure = failure;
    return std::move(plan);
  };
  if (table.List().Layout() == ListLayout::Digest) return fail(TListUpdateFailure::LoneDigest);
  std::string bytes;
  if (!LoadChecksumList(listPath, bytes)) return fail(TListUpdateFailure::Unreadable);
  plan.listName = ExtractFileName(listPath, IsNeverLeadByte);
  plan.encoding = DetectTextEncoding(bytes);
  plan.text = DecodeListBytes(std::move(bytes), win::Utf8FromAnsiMarked);
  plan.separator = separator;
  const ChecksumList list = ParseChecksumList(plan.text, plan.listName);
  if (!SameList(list, table.List()) || table.ListedCount() != list.size()) return fail(TListUpdateFailure::ListChanged);

  const std::string listFolder = ExtractFilePath(listPath, IsNeverLeadByte);
  plan.fates.assign(list.size(), Fate::Keep);
  plan.found.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::optional<TVerifyResult> result = table.Result(i);
    if (!result) return fail(TListUpdateFailure::Unverified);
    const std::string name = list.Entry(i).name;
    switch (*result) {
      case TVerifyResult::Correct:
      case TVerifyResult::Malformed: break;
      case TVerifyResult::HashMismatch:
      case TVerifyResult::SizeMismatch: {
        TVerification found = table.Verification(i);
        plan.fates[i] = Fate::Changed;
        plan.found[i] = {std::move(found.foundHash), std::move(found.foundBytes)};
        plan.changed.push_back(name);
        break;
      }
      case TVerifyResult::OpenFailed: {
        // Only a file that is gone leaves the list; one that is there but could not be read
        // keeps its record.
        const std::string path = EntryPath(listFolder, name);
        if (!path.empty() && !win::FileExists(path) && !win::DirectoryExists(path)) {
          plan.fates[i] = Fate::Drop;
          plan.dropped.push_back(name);
        } else {
          plan.unchecked.push_back(name);
        }
        break;
      }
      default: plan.unchecked.push_back(name); break;
    }
  }

  TUnlistedFiles unlisted = FindUnlistedFiles(list, listPath, cancel);
  if (cancel.stop_requested()) return fail(TListUpdateFailure::Cancelled);
  for (TLeftOutPath& folder : unlisted.unreadFolders) plan.leftOut.push_back(std::move(folder));
  if (unlisted.names.empty()) return plan;

  // New files take the kind (and a BLAKE2b digest's length) of the list's first entry.
  THashType kind = list.Layout() == ListLayout::Table ? list.Kind() : THashType::None;
  std::size_t digestBytes = 0;
  for (std::size_t i = 0; i < list.size() && kind == THashType::None; ++i) {
    if (list.IsMalformed(i)) continue;
    // BLAKE2b where 128 digits matched as that.
    kind = table.Kind(i);
    if (kind == THashType::BLAKE2b) digestBytes = list.Fields(i).hash.size() / 2;
  }
  if (kind == THashType::None) kind = list.Kind();
  plan.newKind = kind;
  const bool slashes = UsesSlashes(list);
  std::vector<std::string> paths;
  paths.reserve(unlisted.names.size());
  for (const std::string& name : unlisted.names) paths.push_back(EntryPath(listFolder, name));
  THashQueue queue(
      paths.size(), options.workers,
      [&](std::size_t i) {
        return paths[i].empty() ? THashJob{} : THashJob{kind, paths[i], digestBytes};
      },
      cancel);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    observer.FileStarting(i, paths.size());
    observer.ProcessMessages();
    if (cancel.stop_requested()) return fail(TListUpdateFailure::Cancelled);
    std::string hash;
    std::int64_t size = 0;
    const THashFailure failure = queue.Take(i, observer, options.showProcess, hash, size);
    std::string name = unlisted.names[i];
    if (slashes) std::replace(name.begin(), name.end(), '\\', '/');
    if (paths[i].empty()) {
      plan.leftOut.push_back({std::move(name), THashFailure::BadName});
    } else if (failure == THashFailure::Cancelled || cancel.stop_requested()) {
      return fail(TListUpdateFailure::Cancelled);
    } else if (failure != THashFailure::None) {
      plan.leftOut.push_back({std::move(name), failure});
    } else {
      plan.added.push_back(name);
      plan.newRows.push_back({std::move(name), std::move(hash), static_cast<std::uint64_t>(size)});
    }
  }
  observer.Settle();
  return plan;
}

std::string RenderListUpdate(const TListUpdate& plan, bool replaceChanged) {
  if (plan.failure != TListUpdateFailure::None) return {};
  const ChecksumList list = ParseChecksumList(plan.text, plan.listName);
  const std::string text = list.Layout() == ListLayout::Table ? RenderTable(plan, list.Kind(), replaceChanged)
                                                              : RenderLines(plan, replaceChanged);
  return Encode(text, plan.encoding);
}

std::u8string ListUpdateFailureText(TListUpdateFailure failure) {
  switch (failure) {
    case TListUpdateFailure::None: return {};
    case TListUpdateFailure::Unreadable: return u8"リストを読めません";
    case TListUpdateFailure::ListChanged: return u8"検証の後にリストが変わりました";
    case TListUpdateFailure::LoneDigest: return u8"一つのファイルのハッシュだけのリストは更新できません";
    case TListUpdateFailure::Unverified: return u8"検証が終わっていません";
    case TListUpdateFailure::Cancelled: return u8"キャンセル";
  }
  return {};
}

std::u8string ListUpdateSummary(const TListUpdate& plan) {
  const auto count = [](std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u8string(digits.begin(), digits.end());
  };
  return u8"追加 : " + count(plan.added.size()) + u8"  削除 : " + count(plan.dropped.size()) + u8"  不一致 : " +
         count(plan.changed.size());
}
