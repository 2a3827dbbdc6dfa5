// The random numbers of the show: the generator of the C run-time the
// player was made with, held by whoever seeds it.
#pragma once

#include <cstdint>

namespace pellora {

// state = state * 214013 + 2531011 (modulo 2^32); each number is bits
// 16..30 of the new state (0..32767).
class RandomGenerator {
 public:
  explicit RandomGenerator(uint32_t seed = 1) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return int((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_;
};

}  // namespace pellora
