// libFuzzer target for the settings file's INI text: arbitrary bytes are read as the settings file.
// Every setting the program reads is loaded, saved and loaded again; sections, keys and values
// taken from the text are read, written (in place and into a copy), rendered and parsed again; the
// integer rule is compared with strtoll. Built and run by tools/run-fuzz.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ini.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "ini_fuzz: %s\n", what);
    std::abort();
  }
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Mapped(std::string_view text, char (*map)(char)) {
  std::string mapped(text);
  for (char& c : mapped) c = map(c);
  return mapped;
}

// The settings the program keeps, in the sections and under the keys it reads them from.
struct Key {
  std::string section;
  std::string key;
};

std::vector<Key> IntegerKeys() {
  std::vector<Key> keys;
  for (const char* section : {"MainForm", "CompareForm", "CalcForm", "CalcViewForm"}) {
    for (const char* key : {"Width", "Height", "Top", "Left"}) keys.push_back({section, key});
  }
  keys.push_back({"MainForm", "ActivePage"});
  keys.push_back({"CompareForm", "TabWidth"});
  keys.push_back({"CalcForm", "TabWidth"});
  keys.push_back({"Preferences", "HashType"});
  keys.push_back({"Preferences", "HashThreads"});
  return keys;
}

std::vector<Key> BoolKeys() {
  std::vector<Key> keys;
  for (const char* key : {"AutoSaveDir", "AutoSaveFile", "AutoSaveForceOverwrite", "AutoSaveClose", "DirList",
                          "DirRecursive", "ShowProcess", "DoneBeep", "StayOnTop", "IdlePriority", "MD5BinaryMode",
                          "UpperCRC", "UpperMD5", "CompareUnlisted"}) {
    keys.push_back({"Preferences", key});
  }
  return keys;
}

const std::vector<Key> kIntegerKeys = IntegerKeys();
const std::vector<Key> kBoolKeys = BoolKeys();
const std::vector<Key> kTextKeys = {{"Preferences", "DefaultExtCRC"},
                                    {"Preferences", "DefaultExtMD5"},
                                    {"Preferences", "DefaultExtSHA256"},
                                    {"Preferences", "DefaultExtBLAKE3"}};

struct Settings {
  std::vector<int> integers;
  std::vector<bool> options;
  std::vector<std::string> texts;
  bool operator==(const Settings&) const = default;
};

// Two sets of defaults that differ everywhere, so that a default taken shows.
Settings Defaults(bool other) {
  Settings defaults;
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i)
    defaults.integers.push_back(other ? -1 - static_cast<int>(i) : static_cast<int>(i));
  defaults.options.assign(kBoolKeys.size(), other);
  defaults.texts = other ? std::vector<std::string>{"sfv", "md5sum", "sha2", "blake3"}
                         : std::vector<std::string>{"crc", "md5", "sha256", "b3"};
  return defaults;
}

Settings Load(const IniText& file, const Settings& defaults) {
  Settings loaded;
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
    loaded.integers.push_back(file.ReadInteger(kIntegerKeys[i].section, kIntegerKeys[i].key, defaults.integers[i]));
  }
  for (std::size_t i = 0; i < kBoolKeys.size(); ++i) {
    loaded.options.push_back(file.ReadBool(kBoolKeys[i].section, kBoolKeys[i].key, defaults.options[i]));
  }
  for (std::size_t i = 0; i < kTextKeys.size(); ++i) {
    loaded.texts.push_back(file.ReadString(kTextKeys[i].section, kTextKeys[i].key, defaults.texts[i]));
  }
  return loaded;
}

void Save(IniText& file, const Settings& settings) {
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
    file.WriteInteger(kIntegerKeys[i].section, kIntegerKeys[i].key, settings.integers[i]);
  }
  for (std::size_t i = 0; i < kBoolKeys.size(); ++i) {
    file.WriteBool(kBoolKeys[i].section, kBoolKeys[i].key, settings.options[i]);
  }
  for (std::size_t i = 0; i < kTextKeys.size(); ++i) {
    file.WriteString(kTextKeys[i].section, kTextKeys[i].key, settings.texts[i]);
  }
}

// What the program reads it must get back after saving it, whether the file was written afresh,
// cleared first or updated in place.
void CheckProgramSettings(const IniText& file) {
  const Settings loaded = Load(file, Defaults(false));
  IniText fresh;
  Save(fresh, loaded);
  const std::string text = fresh.Render();
  Check(Load(IniText::Parse(text), Defaults(true)) == loaded, "settings changed on a save and load");

  IniText cleared = file;
  cleared.Clear();
  Save(cleared, loaded);
  Check(cleared.Render() == text, "a cleared file keeps something");

  IniText updated = file;
  Save(updated, loaded);
  Check(Load(IniText::Parse(updated.Render()), Defaults(true)) == loaded, "settings changed on an update in place");
}

// Whether Parse reads a name or value back as Render wrote it: it splits at line ends and strips
// blanks at both ends.
bool KeepsItsBytes(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos &&
         (text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back())));
}

// ParseIniInteger against strtoll on the digits that follow the blanks, the sign and the prefix.
void CheckInteger(std::string_view text) {
  const std::optional<int> parsed = ParseIniInteger(text);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  int base = 10;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.starts_with(prefix)) {
      base = 16;
      text.remove_prefix(prefix.size());
      break;
    }
  }
  const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (text.empty() || text.find_first_not_of(digits) != std::string_view::npos) {
    Check(!parsed, "an integer read from a text that is none");
    return;
  }
  errno = 0;
  const long long magnitude = std::strtoll(std::string(text).c_str(), nullptr, base);
  const long long value = negative ? -magnitude : magnitude;
  if (errno == ERANGE || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    Check(!parsed, "an integer read beyond int range");
  } else {
    Check(parsed == static_cast<int>(value), "an integer read differently from strtoll");
  }
}

// One write: a value for a section and key, as a string, an integer or a Boolean.
struct Write {
  std::string section;
  std::string key;
  std::string text;  // as the file holds it
  enum { String, Integer, Bool } kind;
  int number;
};

void Apply(IniText& file, const Write& write) {
  switch (write.kind) {
    case Write::String: file.WriteString(write.section, write.key, write.text); break;
    case Write::Integer: file.WriteInteger(write.section, write.key, write.number); break;
    case Write::Bool: file.WriteBool(write.section, write.key, write.number != 0); break;
  }
}

// Whether the write comes back from the rendered text: a key line must stay a key line (not empty,
// no "=", no comment, no section line once its value follows).
bool RendersBack(const Write& write) {
  const std::string_view key = write.key;
  return KeepsItsBytes(write.section) && KeepsItsBytes(key) && KeepsItsBytes(write.text) && !key.empty() &&
         key.find('=') == std::string_view::npos && key.front() != ';' &&
         !(key.front() == '[' && write.text.ends_with(']'));
}

using Names = std::vector<std::pair<std::string, std::string>>;

// Names match regardless of ASCII case: each name stands for the first one it matches.
std::vector<std::size_t> FirstOfEach(const Names& names) {
  Names folded;
  for (const auto& [section, key] : names) folded.emplace_back(Mapped(section, AsciiUpper), Mapped(key, AsciiUpper));
  std::vector<std::size_t> first(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    first[i] = static_cast<std::size_t>(std::find(folded.begin(), folded.end(), folded[i]) - folded.begin());
  }
  return first;
}

// Every name reads what was written to it last (`last`, by its first name), any other what
// `before` reads.
void CheckReads(const IniText& file, const Names& names, const std::vector<std::size_t>& first,
                const std::vector<const Write*>& last, const IniText& before, const char* what) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto& [section, key] = names[i];
    const std::optional<std::string> value = file.Read(section, key);
    const Write* write = last[first[i]];
    if (write == nullptr) {
      Check(value == before.Read(section, key), what);
      continue;
    }
    Check(value == write->text, what);
    if (write->kind == Write::Integer) Check(file.ReadInteger(section, key, ~write->number) == write->number, what);
    if (write->kind == Write::Bool)
      Check(file.ReadBool(section, key, write->number == 0) == (write->number != 0), what);
  }
}

// Sections, keys and values as they stand in the text's lines, blanks and case included, so that
// lookups meet names the parser stored, stripped or never saw: each key under the section it
// follows and under "Preferences", and each section with "Left".
struct Pieces {
  Names names{{"Preferences", "HashType"}, {"MainForm", "Left"}};
  std::vector<std::string> values;
};

Pieces PiecesOf(std::string_view text) {
  constexpr std::size_t kMostNames = 40;
  Pieces pieces;
  std::string_view section = "Preferences";
  while (!text.empty() && pieces.names.size() + 2 <= kMostNames) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t open = line.find('[');
    const std::size_t close = line.rfind(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      section = line.substr(open + 1, close - open - 1);
      pieces.names.emplace_back(section, "Left");
    }
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      pieces.names.emplace_back(section, line.substr(0, equals));
      pieces.names.emplace_back("Preferences", line.substr(0, equals));
      pieces.values.emplace_back(line.substr(equals + 1));
    }
  }
  if (pieces.values.empty()) pieces.values.emplace_back();
  return pieces;
}

// A value's text as the file would hold it: as it stands, as the integer it reads as (or a number
// made from its bytes), or as a Boolean.
Write MakeWrite(std::string section, std::string key, const std::string& value, std::size_t turn) {
  std::uint32_t bits = 0;
  for (char c : value) bits = bits * 131 + static_cast<unsigned char>(c);
  const int number = ParseIniInteger(value).value_or(static_cast<int>(bits));
  switch (turn % 3) {
    case 0: return {std::move(section), std::move(key), value, Write::String, 0};
    case 1: return {std::move(section), std::move(key), std::to_string(number), Write::Integer, number};
    default: return {std::move(section), std::move(key), number & 1 ? "1" : "0", Write::Bool, number & 1};
  }
}

void CheckNamesFromText(const IniText& file, const Pieces& pieces) {
  const Names& names = pieces.names;
  for (const auto& [section, key] : names) {
    const std::optional<std::string> value = file.Read(section, key);
    Check(!value || KeepsItsBytes(*value), "a value read with a line end or an outer blank");
    Check(file.Read(Mapped(section, AsciiUpper), Mapped(key, AsciiLower)) == value, "names matched with case");
  }

  // Parsing the rendered text gives the same file: rendering is a fixed point.
  const std::vector<std::size_t> first = FirstOfEach(names);
  const std::string rendered = file.Render();
  const IniText again = IniText::Parse(rendered);
  Check(again.Render() == rendered, "rendering is not a fixed point");
  const std::vector<const Write*> none(names.size(), nullptr);
  CheckReads(again, names, first, none, file, "a value changed on rendering and parsing");

  // Every write reads back at once; those that can be rendered also after rendering and parsing.
  std::vector<Write> writes;
  for (std::size_t i = 0; i < names.size(); ++i) {
    writes.push_back(MakeWrite(names[i].first, names[i].second, pieces.values[i % pieces.values.size()], i));
  }
  IniText anything = file;
  IniText renderable = file;
  std::vector<const Write*> lastAnything = none;
  std::vector<const Write*> lastRenderable = none;
  for (std::size_t i = 0; i < writes.size(); ++i) {
    Apply(anything, writes[i]);
    Check(anything.Read(writes[i].section, writes[i].key) == writes[i].text, "a written value does not read back");
    lastAnything[first[i]] = &writes[i];
    if (RendersBack(writes[i])) {
      Apply(renderable, writes[i]);
      lastRenderable[first[i]] = &writes[i];
    }
  }
  CheckReads(anything, names, first, lastAnything, file, "a written value was lost");
  CheckReads(renderable, names, first, lastRenderable, file, "a written value was lost");
  CheckReads(IniText::Parse(renderable.Render()), names, first, lastRenderable, file,
             "a written value changed on rendering and parsing");
  (void)anything.Render();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const IniText file = IniText::Parse(text);
  CheckProgramSettings(file);
  const Pieces pieces = PiecesOf(text);
  for (const std::string& value : pieces.values) CheckInteger(value);
  CheckNamesFromText(file, pieces);
  return 0;
}
