// SHA-256 and SHA-512 compression in plain code, for any processor.
#include "core/sha.h"

#include "core/sha2_rounds.h"

void Sha256BlocksPortable(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count) {
  sha2::Blocks<sha2::TSha256Shape>(state, blocks, count);
}

void Sha512BlocksPortable(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count) {
  sha2::Blocks<sha2::TSha512Shape>(state, blocks, count);
}
