#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The digests of digestBytes bytes that a text copied from elsewhere holds (a web page, a mail, a
// list), as upper-case hex, in the order they come, each once. A digest may be written in hex of
// either case, in groups split by blanks, after "0x", with a name, a label or punctuation around
// it ("SHA256: …", "… setup.zip", "SHA256 (setup.zip) = …"), or in base64 of its exact length
// (with or without "=" padding). Only the first 64 KiB are looked at: more is no pasted digest.
std::vector<std::string> DigestsInText(std::string_view text, std::size_t digestBytes);
