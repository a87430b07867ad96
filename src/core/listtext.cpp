#include "core/listtext.h"

#include <algorithm>

#include "core/path.h"

namespace {

void AppendPadded(std::string& line, std::string_view text, std::size_t width, bool alignRight) {
  const std::size_t fill = width > text.size() ? width - text.size() : 0;
  if (alignRight) line.append(fill, ' ');
  line += text;
  if (!alignRight) line.append(fill, ' ');
}

void EndLine(std::string& text) { text += "\r\n"; }

std::string RenderTable(THashType kind, std::span<const ChecksumRow> rows, std::string_view totalLine) {
  const std::string title = HashColumnTitle(kind);
  const std::size_t hashWidth = static_cast<std::size_t>(HashTextLength(kind));
  std::size_t nameWidth = 4;  // "Name"
  std::size_t sizeWidth = 5;  // "Bytes"
  for (const ChecksumRow& row : rows) {
    nameWidth = std::max(nameWidth, row.Name.size());
    sizeWidth = std::max(sizeWidth, row.Bytes.size());
  }

  std::string text;
  AppendPadded(text, "Name", nameWidth, false);
  text += "  ";
  AppendPadded(text, title, hashWidth, false);
  text += "  Bytes";
  EndLine(text);

  text.append(nameWidth, '-');
  text += "  ";
  text.append(hashWidth, '-');
  text += "  ";
  text.append(sizeWidth, '-');
  EndLine(text);

  for (const ChecksumRow& row : rows) {
    AppendPadded(text, row.Name, nameWidth, false);
    text += "  ";
    AppendPadded(text, row.Hash, hashWidth, false);
    text += "  ";
    AppendPadded(text, row.Bytes, sizeWidth, true);
    EndLine(text);
  }

  text.append(nameWidth + hashWidth + sizeWidth + 4, '-');
  EndLine(text);
  text += totalLine;
  EndLine(text);
  return text;
}

std::string RenderMD5(std::span<const ChecksumRow> rows) {
  std::string text;
  for (const ChecksumRow& row : rows) {
    text += row.Hash;
    text += ' ';
    text += row.Name;
    EndLine(text);
  }
  return text;
}

}  // namespace

std::string RenderChecksumList(THashType kind, std::span<const ChecksumRow> rows, std::string_view totalLine) {
  if (rows.empty()) return {};
  switch (kind) {
    case THashType::CRC16:
    case THashType::CRC32: return RenderTable(kind, rows, totalLine);
    case THashType::MD5: return RenderMD5(rows);
    default: return {};
  }
}

std::string HashColumnTitle(THashType kind) {
  switch (kind) {
    case THashType::CRC16: return "CRC";
    case THashType::CRC32: return "CRC32";
    case THashType::MD5: return "MD5";
    default: return {};
  }
}

std::string DefaultSaveName(std::span<const ChecksumRow> rows, std::string_view baseFolder, LeadByteTest isLeadByte) {
  if (rows.size() != 1) return ExtractFileName(baseFolder, isLeadByte);
  std::string_view name = rows.front().Name;
  // The binary-mode mark is no part of the file name, and "*" is refused by the file system.
  if (name.starts_with('*')) name.remove_prefix(1);
  return RemoveFileExtension(name, isLeadByte);
}
