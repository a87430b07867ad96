#pragma once

#include <cstdint>
#include <functional>

// The sounds that mark the end of a run, a question about to be asked, and an unreadable list.
enum class TSoundKind : std::uint8_t { skDone, skCancel, skQuestion, skError };

// Plays one of them (the main window's completion sounds).
using TPlaySound = std::function<void(TSoundKind)>;
