#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Puts plain text (UTF-8) on the clipboard as CF_UNICODETEXT, and as CF_TEXT in the ANSI code page.
// False when the clipboard could not be opened or filled.
[[nodiscard]] bool SetClipboardText(std::string_view text);
// The clipboard's text as UTF-8 (from CF_UNICODETEXT, else CF_TEXT); nullopt when none.
[[nodiscard]] std::optional<std::string> ClipboardText();

}  // namespace ui
