// Logical palettes and the emulated system palette of 256- and 16-colour
// displays. On a true-colour display palettes change nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace pellora {

class CDC;

struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// A logical palette object; empty when it holds no palette.
class CPalette {
 public:
  CPalette() = default;
  explicit CPalette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {}
  bool IsEmpty() const { return entries_.empty(); }
  void DeleteObject() { entries_.clear(); }
  const std::vector<PaletteEntry>& Entries() const { return entries_; }

 private:
  std::vector<PaletteEntry> entries_;
};

enum class SystemPaletteUse { Static, NoStatic };

// The display's palette on an emulated 8-bit display: static entries plus
// the entries that realised logical palettes claimed.
class SystemPalette {
 public:
  static SystemPalette& Instance();

  void SetUse(SystemPaletteUse use);
  SystemPaletteUse Use() const { return use_; }
  // Realises a logical palette, in the foreground (it may take every
  // entry that is not static) or in the background (only entries no
  // palette holds); the number of system entries that changed.
  unsigned Realize(const CPalette& palette, bool background);
  const std::vector<PaletteEntry>& Entries() const { return entries_; }
  // The system colour an 0x00RRGGBB pixel shows as, at the given depth.
  uint32_t Map(uint32_t pixel, int depth);
  void Reset();

 private:
  SystemPalette();
  void Rebuild();

  SystemPaletteUse use_ = SystemPaletteUse::Static;
  std::vector<PaletteEntry> entries_;
  std::vector<bool> isStatic_;
  // Entries held by the realised palettes (and the static ones).
  std::vector<bool> claimed_;
  // Colour -> display colour caches (key in the high word).
  std::vector<uint64_t> cache_;
  std::vector<uint64_t> vgaCache_;
};

// System palette use on palette displays: how many system palette entries
// stay static. Sets it for the display of dc; returns the previous use.
enum : uint32_t { SYSPAL_STATIC = 1, SYSPAL_NOSTATIC = 2 };
uint32_t SetSystemPaletteUse(CDC& dc, uint32_t use);

}  // namespace pellora
