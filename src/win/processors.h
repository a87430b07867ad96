#pragma once

namespace win {

// The processors this process may run on (its affinity, across every processor group), at
// least one.
unsigned UsableProcessorCount();

}  // namespace win
