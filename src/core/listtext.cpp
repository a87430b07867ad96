#include "core/listtext.h"

#include <algorithm>

#include "core/path.h"

namespace {

void AppendPadded(std::string& line, std::string_view text, std::size_t textWidth, std::size_t width, bool alignRight) {
  const std::size_t fill = width > textWidth ? width - textWidth : 0;
  if (alignRight) line.append(fill, ' ');
  line += text;
  if (!alignRight) line.append(fill, ' ');
}

void EndLine(std::string& text) { text += "\r\n"; }

std::string RenderTable(THashType kind, std::span<const ChecksumRow> rows, std::string_view totalLine,
                        TextWidth width) {
  const std::string title = HashColumnTitle(kind);
  const std::size_t hashWidth = static_cast<std::size_t>(HashTextLength(kind));
  std::size_t nameWidth = 4;  // "Name"
  std::size_t sizeWidth = 5;  // "Bytes"
  for (const ChecksumRow& row : rows) {
    nameWidth = std::max(nameWidth, width(row.Name));
    sizeWidth = std::max(sizeWidth, width(row.Bytes));
  }

  std::string text;
  AppendPadded(text, "Name", 4, nameWidth, false);
  text += "  ";
  AppendPadded(text, title, title.size(), hashWidth, false);
  text += "  Bytes";
  EndLine(text);

  text.append(nameWidth, '-');
  text += "  ";
  text.append(hashWidth, '-');
  text += "  ";
  text.append(sizeWidth, '-');
  EndLine(text);

  for (const ChecksumRow& row : rows) {
    AppendPadded(text, row.Name, width(row.Name), nameWidth, false);
    text += "  ";
    AppendPadded(text, row.Hash, row.Hash.size(), hashWidth, false);
    text += "  ";
    AppendPadded(text, row.Bytes, width(row.Bytes), sizeWidth, true);
    EndLine(text);
  }

  text.append(nameWidth + hashWidth + sizeWidth + 4, '-');
  EndLine(text);
  text += totalLine;
  EndLine(text);
  return text;
}

// "digest name" with one blank. A second blank before the name is GNU's text mode to every
// reader, so a name that begins with a blank is written after GNU's two: it keeps its blank.
std::string RenderMD5(std::span<const ChecksumRow> rows) {
  std::string text;
  for (const ChecksumRow& row : rows) {
    text += row.Hash;
    text += ' ';
    if (row.Name.starts_with(' ')) text += ' ';
    text += row.Name;
    EndLine(text);
  }
  return text;
}

// b3sum's own layout, which its --check alone reads: "digest  name", two blanks and LF, with "/"
// between folders (b3sum takes a "\\" as a character of a name on other systems, and Windows opens both).
std::string RenderB3sum(std::span<const ChecksumRow> rows) {
  std::string text;
  for (const ChecksumRow& row : rows) {
    text += row.Hash;
    text += "  ";
    std::string name = row.Name;
    std::replace(name.begin(), name.end(), '\\', '/');
    text += name;
    text += '\n';
  }
  return text;
}

}  // namespace

std::string RenderChecksumList(THashType kind, std::span<const ChecksumRow> rows, std::string_view totalLine,
                               TextWidth width) {
  if (rows.empty()) return {};
  if (kind == THashType::CRC16 || kind == THashType::CRC32) return RenderTable(kind, rows, totalLine, width);
  if (kind == THashType::BLAKE3) return RenderB3sum(rows);
  // Every other digest kind is written in the MD5 layout.
  if (IsDigestKind(kind)) return RenderMD5(rows);
  return {};
}

std::string HashColumnTitle(THashType kind) {
  switch (kind) {
    case THashType::CRC16: return "CRC";
    case THashType::CRC32: return "CRC32";
    case THashType::MD5: return "MD5";
    case THashType::SHA1: return "SHA1";
    case THashType::SHA256: return "SHA256";
    case THashType::SHA512: return "SHA512";
    case THashType::SHA224: return "SHA224";
    case THashType::SHA384: return "SHA384";
    case THashType::BLAKE2b: return "BLAKE2b";
    case THashType::BLAKE3: return "BLAKE3";
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
