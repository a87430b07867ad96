#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Puts plain text on the clipboard as CF_UNICODETEXT and as CF_TEXT (the ANSI bytes as given).
// False when the clipboard could not be opened or filled.
[[nodiscard]] bool SetClipboardText(std::string_view ansiText);
// The clipboard's text as ANSI bytes (from CF_UNICODETEXT, else CF_TEXT); nullopt when none.
[[nodiscard]] std::optional<std::string> ClipboardText();

}  // namespace ui
