#pragma once

#include <QString>
#include <cstdint>

// Texts built from the pieces the filter reacts to (addresses, "www", "AP",
// capitals, state codes, runs of marks, symbols, non-ASCII, surrogate pairs),
// so random texts reach its corners quickly.
class TRandomText final {
 public:
  explicit TRandomText(std::uint64_t seed) : FState(seed) {}

  QString Next(int pieces);
  std::uint32_t Below(std::uint32_t n);

 private:
  std::uint64_t FState;
};
