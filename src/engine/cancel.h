#pragma once

#include <atomic>

// Set to stop a running HashFile before its next block and the runs before their next file.
// One flag for both job windows; cleared when an intake starts, set by Esc during an intake and
// by closing a job window. Atomic: the hashing workers read it between blocks.
extern std::atomic<bool> CancelFlag;
