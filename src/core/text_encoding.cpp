#include "core/text_encoding.h"

#include "core/utf8.h"

DetectedEncoding EncodingFromBom(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return {TextEncoding::Utf8, 3};
  if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::Utf16LE, 2};
  if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::Utf16BE, 2};
  return {};
}

DetectedEncoding DetectTextEncoding(std::string_view bytes) {
  const DetectedEncoding bom = EncodingFromBom(bytes);
  if (bom.bomLength > 0) return bom;
  if (HasNonAscii(bytes) && IsValidUtf8(bytes)) return {TextEncoding::Utf8, 0};
  return {};
}

std::string Utf8FromUtf16Bytes(std::string_view bytes, bool bigEndian) {
  const std::size_t count = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (first << 8) | second : (second << 8) | first;
  };
  // Converted unit by unit into the one result: a list's text is never held twice over.
  std::string text;
  text.reserve(count + count / 2);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      text += kNoCharacter;
      continue;
    }
    AppendUtf8(text, c);
  }
  return text;
}
