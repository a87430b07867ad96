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

CommandLineRequest ParseArguments(const std::vector<std::string>& arguments) {
  CommandLineRequest request;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) {
      const std::string_view word = std::string_view(argument).substr(1);
      if (word == "c") {
        request.compare = true;
        continue;
      }
      if (word == "q") {
        request.quiet = true;
        continue;
      }
      if (word == "u8") {
        request.utf8Output = true;
        continue;
      }
      if (word == "t1") {
        request.kind = THashType::CRC16;
        continue;
      }
      if (word == "t3") {
        request.kind = THashType::CRC32;
        continue;
      }
      if (word == "tm") {
        request.kind = THashType::MD5;
        continue;
      }
      if (word == "t256") {
        request.kind = THashType::SHA256;
        continue;
      }
      if (word == "tb3") {
        request.kind = THashType::BLAKE3;
        continue;
      }
    }
    request.paths.push_back(argument);
  }
  return request;
}
