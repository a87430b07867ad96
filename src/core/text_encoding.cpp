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
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return Utf8FromUtf16(units);
}
