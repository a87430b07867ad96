#include "core/list_bytes.h"

#include <utility>

#include "core/listread.h"
#include "core/text_encoding.h"
#include "core/utf8.h"

namespace {

// ANSI is decoded in pieces of about this size, each ending at a line end: no byte of a line end
// is ever the second byte of a double-byte character.
constexpr std::size_t kAnsiPiece = std::size_t{1} << 20;

std::string DecodeAnsi(std::string bytes, AnsiDecoder decodeAnsi) {
  if (!HasNonAscii(bytes)) return bytes;
  std::string text;
  // Room for double-byte characters that become three UTF-8 bytes.
  text.reserve(bytes.size() + bytes.size() / 2);
  std::string_view rest(bytes);
  while (!rest.empty()) {
    const std::size_t lineEnd =
        rest.size() <= kAnsiPiece ? std::string_view::npos : rest.find_first_of("\r\n", kAnsiPiece);
    const std::size_t end =
        lineEnd == std::string_view::npos ? rest.size() : lineEnd + FirstLine(rest.substr(lineEnd)).endLength;
    const std::string_view piece = rest.substr(0, end);
    if (HasNonAscii(piece)) {
      text += decodeAnsi(piece);
    } else {
      text += piece;
    }
    rest.remove_prefix(end);
  }
  return text;
}

}  // namespace

std::string DecodeListBytes(std::string bytes, AnsiDecoder decodeAnsi) {
  const DetectedEncoding detected = DetectTextEncoding(bytes);
  switch (detected.encoding) {
    case TextEncoding::Ansi: return DecodeAnsi(std::move(bytes), decodeAnsi);
    case TextEncoding::Utf8: bytes.erase(0, detected.bomLength); return bytes;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      return Utf8FromUtf16Bytes(std::string_view(bytes).substr(detected.bomLength),
                                detected.encoding == TextEncoding::Utf16BE);
  }
  return {};
}

ChecksumList ParseChecksumListBytes(std::string bytes, AnsiDecoder decodeAnsi, std::string_view listFileName) {
  return ParseChecksumList(DecodeListBytes(std::move(bytes), decodeAnsi), listFileName);
}
