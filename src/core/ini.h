#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A whole integer in int range as the settings file reads it: leading blanks skipped, an optional
// "+" or "-", hexadecimal when the digits are introduced by "$", "x", "X", "0x" or "0X"
// ("-$10" is -16); anything else, trailing text included, is no integer.
std::optional<int> ParseIniInteger(std::string_view text);

// INI text as the settings file reads and writes it. Section and key names match regardless of
// ASCII case; when a key occurs twice the first one counts.
class IniText {
 public:
  // Every line is stripped of surrounding bytes <= 32; empty lines, ";" comments, lines before the
  // first section and section lines without "=" are ignored; key and value are stripped the same
  // way around the first "=". A section that occurs twice continues the first one.
  static IniText Parse(std::string_view text);

  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // A value that is not an integer counts as absent.
  std::optional<int> ReadOptionalInteger(std::string_view section, std::string_view key) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // Any integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Replaces the value of an existing key; new sections and keys go at the end, so the order of
  // the first writes is the order of the text.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"
  void Clear();

  // "[S]" CR LF, then "key=value" CR LF per key, then one empty line, for every section in order.
  std::string Render() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  Section& SectionFor(std::string_view name);

  std::vector<Section> sections_;
  // Each section's place in sections_ by its name in ASCII capitals: a file of many sections
  // parses in linear time, where comparing every name with every other took minutes.
  std::unordered_map<std::string, std::size_t> index_;
};
