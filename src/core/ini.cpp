#include "core/ini.h"

#include <cstdint>
#include <limits>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Strip(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  // Accumulate the magnitude in 64 bits; anything past 2^31 is out of range either way.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (char c : text) {
    const int digit = DigitValue(c);
    if (digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

IniText IniText::Parse(std::string_view text) {
  IniText ini;
  Section* current = nullptr;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Strip(text.substr(0, end));
    text.remove_prefix(end == text.size() ? end : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &ini.SectionFor(Strip(line.substr(1, line.size() - 2)));
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Strip(line.substr(0, equals));
    if (key.empty()) continue;
    current->entries.emplace_back(std::string(key), std::string(Strip(line.substr(equals + 1))));
  }
  return ini;
}

IniText::Section* IniText::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const IniText::Section* IniText::FindSection(std::string_view name) const {
  const auto found = index_.find(AsciiUpperName(name));
  return found == index_.end() ? nullptr : &sections_[found->second];
}

IniText::Section& IniText::SectionFor(std::string_view name) {
  const auto [found, added] = index_.try_emplace(AsciiUpperName(name), sections_.size());
  if (added) sections_.push_back(Section{std::string(name), {}});
  return sections_[found->second];
}

std::optional<std::string> IniText::Read(std::string_view section, std::string_view key) const {
  if (const Section* found = FindSection(section)) {
    for (const auto& [name, value] : found->entries) {
      if (SameName(name, key)) return value;
    }
  }
  return std::nullopt;
}

std::string IniText::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  return Read(section, key).value_or(std::string(defaultValue));
}

std::optional<int> IniText::ReadOptionalInteger(std::string_view section, std::string_view key) const {
  const std::optional<std::string> text = Read(section, key);
  return text ? ParseIniInteger(*text) : std::nullopt;
}

int IniText::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  return ReadOptionalInteger(section, key).value_or(defaultValue);
}

bool IniText::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniText::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section& target = SectionFor(section);
  for (auto& [name, stored] : target.entries) {
    if (SameName(name, key)) {
      stored = value;
      return;
    }
  }
  target.entries.emplace_back(std::string(key), std::string(value));
}

void IniText::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniText::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniText::Clear() {
  sections_.clear();
  index_.clear();
}

std::string IniText::Render() const {
  std::string text;
  for (const Section& section : sections_) {
    text += '[';
    text += section.name;
    text += "]\r\n";
    for (const auto& [key, value] : section.entries) {
      text += key;
      text += '=';
      text += value;
      text += "\r\n";
    }
    text += "\r\n";
  }
  return text;
}
