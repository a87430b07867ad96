#include "core/cmdline.h"

#include "core/mbstep.h"

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine, LeadByteTest isLeadByte) {
  std::vector<std::string> arguments;
  const std::size_t end = commandLine.size();
  std::size_t p = 0;
  for (;;) {
    for (;;) {
      while (p < end && IsSeparator(commandLine[p])) ++p;
      if (commandLine.substr(p, 2) != "\"\"") break;
      p += 2;
    }
    if (p >= end) break;

    std::string argument;
    while (p < end && !IsSeparator(commandLine[p])) {
      if (commandLine[p] == '"') {
        ++p;
        while (p < end && commandLine[p] != '"') {
          const std::size_t n = CharLengthAt(commandLine, p, isLeadByte);
          argument.append(commandLine.substr(p, n));
          p += n;
        }
        if (p < end) ++p;  // the closing quote; an unclosed one runs to the end
      } else {
        const std::size_t n = CharLengthAt(commandLine, p, isLeadByte);
        argument.append(commandLine.substr(p, n));
        p += n;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

namespace {

// What one option word does to the request.
struct OptionWord {
  std::string_view word;
  void (*apply)(CommandLineRequest& request);
};

constexpr OptionWord kOptionWords[] = {
    {"c", [](CommandLineRequest& r) { r.compare = true; }},
    {"update", [](CommandLineRequest& r) { r.update = true; }},
    {"t1", [](CommandLineRequest& r) { r.kind = THashType::CRC16; }},
    {"t3", [](CommandLineRequest& r) { r.kind = THashType::CRC32; }},
    {"tm", [](CommandLineRequest& r) { r.kind = THashType::MD5; }},
    {"t256", [](CommandLineRequest& r) { r.kind = THashType::SHA256; }},
    {"tb3", [](CommandLineRequest& r) { r.kind = THashType::BLAKE3; }},
    {"r", [](CommandLineRequest& r) { r.recursive = true; }},
    {"one", [](CommandLineRequest& r) { r.oneList = true; }},
    {"f", [](CommandLineRequest& r) { r.overwrite = true; }},
    {"u", [](CommandLineRequest& r) { r.unlisted = true; }},
    {"q", [](CommandLineRequest& r) { r.quiet = true; }},
    {"u8", [](CommandLineRequest& r) { r.utf8Output = true; }},
    {"sel", [](CommandLineRequest& r) { r.selection = true; }},
    {"register", [](CommandLineRequest& r) { r.registration = ShellRegistration::Register; }},
    {"unregister", [](CommandLineRequest& r) { r.registration = ShellRegistration::Unregister; }},
    {"h", [](CommandLineRequest& r) { r.help = true; }},
    {"?", [](CommandLineRequest& r) { r.help = true; }},
};

bool IsPrefix(char c) { return c == '-' || c == '/'; }

// "-" or "/" and a word that no path separator makes a path.
bool LooksLikeOption(std::string_view argument) {
  return argument.size() > 1 && IsPrefix(argument[0]) &&
         argument.substr(1).find_first_of("\\/") == std::string_view::npos;
}

}  // namespace

const std::vector<std::string_view>& OptionWords() {
  static const std::vector<std::string_view> words = [] {
    std::vector<std::string_view> all;
    for (const OptionWord& option : kOptionWords) all.push_back(option.word);
    return all;
  }();
  return words;
}

CommandLineRequest ParseArguments(const std::vector<std::string>& arguments) {
  CommandLineRequest request;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help") {
      request.help = true;
      continue;
    }
    if (!argument.empty() && IsPrefix(argument[0])) {
      const std::string_view word = std::string_view(argument).substr(1);
      const OptionWord* found = nullptr;
      for (const OptionWord& option : kOptionWords) {
        if (option.word == word) found = &option;
      }
      if (found != nullptr) {
        found->apply(request);
        continue;
      }
    }
    if (LooksLikeOption(argument)) request.optionLike.push_back(request.paths.size());
    request.paths.push_back(argument);
  }
  return request;
}
