// BLAKE3's chunks across the lanes of one SIMD register type: lane k of every vector belongs to
// chunk k, so the rounds are the portable ones on whole vectors. Included inside an anonymous
// namespace of each SIMD file, after it defines, for its register type V with kLanes lanes:
// RUVO_LANES (its target attribute with always_inline), Add, Xor, Set1, Rot16/12/8/7,
// LoadCounters (lane k: counter + k, low or high words) and LoadMessage (word j of the block at
// `offset` of each lane's chunk into m[j]).
// No include guard: each SIMD file takes it once, for its own registers.

RUVO_LANES void MixLanes(V (&v)[16], int a, int b, int c, int d, V x, V y) {
  v[a] = Add(Add(v[a], v[b]), x);
  v[d] = Rot16(Xor(v[d], v[a]));
  v[c] = Add(v[c], v[d]);
  v[b] = Rot12(Xor(v[b], v[c]));
  v[a] = Add(Add(v[a], v[b]), y);
  v[d] = Rot8(Xor(v[d], v[a]));
  v[c] = Add(v[c], v[d]);
  v[b] = Rot7(Xor(v[b], v[c]));
}

RUVO_LANES void CompressLanes(V (&cv)[8], const V (&m)[16], V counterLow, V counterHigh, std::uint32_t flags) {
  V v[16] = {cv[0],
             cv[1],
             cv[2],
             cv[3],
             cv[4],
             cv[5],
             cv[6],
             cv[7],
             Set1(blake3::kIv[0]),
             Set1(blake3::kIv[1]),
             Set1(blake3::kIv[2]),
             Set1(blake3::kIv[3]),
             counterLow,
             counterHigh,
             Set1(kBlake3BlockBytes),
             Set1(flags)};
  // Unrolled, the message words' places are constants and stay in registers.
#pragma GCC unroll 7
  for (const auto& s : blake3::kSchedule) {
    MixLanes(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
    MixLanes(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
    MixLanes(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
    MixLanes(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
    MixLanes(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
    MixLanes(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
    MixLanes(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
    MixLanes(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
  }
  for (int i = 0; i < 8; ++i) cv[i] = Xor(v[i], v[i + 8]);
}

// kLanes whole chunks from `input` on, numbered from counter.
RUVO_LANES void ChunksLanes(const std::uint8_t* input, std::uint64_t counter, TBlake3Cv* cvs) {
  V cv[8];
  for (int i = 0; i < 8; ++i) cv[i] = Set1(blake3::kIv[i]);
  const V counterLow = LoadCounters(counter, false);
  const V counterHigh = LoadCounters(counter, true);
  constexpr std::size_t kBlocks = kBlake3ChunkBytes / kBlake3BlockBytes;
  for (std::size_t b = 0; b < kBlocks; ++b) {
    V m[16];
    LoadMessage(input, b * kBlake3BlockBytes, m);
    const std::uint32_t flags = (b == 0 ? blake3::kChunkStart : 0) | (b == kBlocks - 1 ? blake3::kChunkEnd : 0);
    CompressLanes(cv, m, counterLow, counterHigh, flags);
  }
  alignas(64) std::uint32_t words[8][kLanes];
  for (int i = 0; i < 8; ++i) Store(words[i], cv[i]);
  for (std::size_t k = 0; k < kLanes; ++k) {
    for (int i = 0; i < 8; ++i) cvs[k][i] = words[i][k];
  }
}
