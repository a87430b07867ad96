#pragma once

namespace win {

// The processors this process may run on (its affinity, across every processor group), at
// least one.
unsigned UsableProcessorCount();

// Lets the calling thread yield its core to threads of normal priority (the window's): for
// background work that must not delay the answers to the user.
void LowerThreadPriority();

}  // namespace win
