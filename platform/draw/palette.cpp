#include "platform/draw/palette.h"

#include <algorithm>
#include <climits>

namespace pellora {
namespace {

// The twenty colours a palette display keeps for the system, first ten and
// last ten entries.
const PaletteEntry kStaticColours[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};

// The sixteen colours of a 16-colour display.
const PaletteEntry kVgaColours[16] = {
    {0, 0, 0, 0},     {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
    {0, 0, 128, 0},   {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0}, {0, 255, 0, 0},   {255, 255, 0, 0},
    {0, 0, 255, 0},   {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};

uint32_t ToPixel(const PaletteEntry& e) { return (uint32_t(e.red) << 16) | (uint32_t(e.green) << 8) | e.blue; }

template <class Entries>
uint32_t Nearest(const Entries& entries, size_t count, int r, int g, int b) {
  int best = INT_MAX;
  uint32_t pixel = 0;
  for (size_t i = 0; i < count; ++i) {
    const PaletteEntry& e = entries[i];
    int dr = r - e.red, dg = g - e.green, db = b - e.blue;
    int d = dr * dr + dg * dg + db * db;
    if (d < best) {
      best = d;
      pixel = ToPixel(e);
      if (d == 0) break;
    }
  }
  return pixel;
}

}  // namespace

SystemPalette& SystemPalette::Instance() {
  static SystemPalette palette;
  return palette;
}

SystemPalette::SystemPalette() { Reset(); }

void SystemPalette::Reset() {
  use_ = SystemPaletteUse::Static;
  entries_.assign(256, PaletteEntry{});
  isStatic_.assign(256, false);
  Rebuild();
}

void SystemPalette::Rebuild() {
  std::fill(isStatic_.begin(), isStatic_.end(), false);
  if (use_ == SystemPaletteUse::Static) {
    for (int i = 0; i < 10; ++i) {
      entries_[i] = kStaticColours[i];
      entries_[246 + i] = kStaticColours[10 + i];
      isStatic_[i] = isStatic_[246 + i] = true;
    }
  } else {
    entries_[0] = {0, 0, 0, 0};
    entries_[255] = {255, 255, 255, 0};
    isStatic_[0] = isStatic_[255] = true;
  }
  claimed_ = isStatic_;
  cache_.clear();
}

void SystemPalette::SetUse(SystemPaletteUse use) {
  if (use_ == use) return;
  use_ = use;
  Rebuild();
}

unsigned SystemPalette::Realize(const CPalette& palette, bool background) {
  std::vector<PaletteEntry> before = entries_;
  // The foreground palette may take every entry that is not static; a
  // background palette only those that no palette has claimed since.
  std::vector<bool> used = background ? claimed_ : isStatic_;
  size_t next = 0;
  for (const PaletteEntry& want : palette.Entries()) {
    PaletteEntry colour{want.red, want.green, want.blue, 0};
    bool present = false;
    for (size_t i = 0; i < 256; ++i)
      if (used[i] && entries_[i] == colour) {
        present = true;
        break;
      }
    if (present) continue;
    while (next < 256 && used[next]) ++next;
    if (next == 256) break;
    entries_[next] = colour;
    used[next] = true;
  }
  claimed_ = used;
  unsigned changed = 0;
  for (size_t i = 0; i < 256; ++i)
    if (!(before[i] == entries_[i])) ++changed;
  if (changed) cache_.clear();
  return changed;
}

uint32_t SystemPalette::Map(uint32_t pixel, int depth) {
  pixel &= 0xFFFFFF;
  if (depth > 8) return pixel;
  int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  // A direct-mapped cache keyed by the whole colour: the key sits in the
  // top byte's place of a second word.
  std::vector<uint64_t>& cache = depth < 8 ? vgaCache_ : cache_;
  if (cache.empty()) cache.assign(size_t(1) << 16, ~uint64_t(0));
  uint64_t& slot = cache[(pixel ^ (pixel >> 8) ^ (pixel >> 16) * 31) & 0xFFFF];
  if ((slot >> 32) == pixel) return uint32_t(slot);
  uint32_t mapped = depth < 8 ? Nearest(kVgaColours, 16, r, g, b) : Nearest(entries_, entries_.size(), r, g, b);
  slot = (uint64_t(pixel) << 32) | mapped;
  return mapped;
}

uint32_t SetSystemPaletteUse(CDC&, uint32_t use) {
  SystemPalette& palette = SystemPalette::Instance();
  uint32_t previous = palette.Use() == SystemPaletteUse::Static ? SYSPAL_STATIC : SYSPAL_NOSTATIC;
  if (use == SYSPAL_STATIC) palette.SetUse(SystemPaletteUse::Static);
  else if (use == SYSPAL_NOSTATIC) palette.SetUse(SystemPaletteUse::NoStatic);
  return previous;
}

}  // namespace pellora
