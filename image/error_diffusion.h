// The two fixed palettes of the 8-bit screen images and the one
// Floyd-Steinberg error-diffusion engine that every palette path shares.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "image/dib.h"

namespace pellora {

// PALETTE_332: 3 bits of red, 3 of green, 2 of blue (256 colours).
// PALETTE_111: one bit per channel (8 colours at indices 0, 32, ..., 224).
enum PaletteKind { PALETTE_332 = 0, PALETTE_111 = 1 };

// Screens of fewer than 8 bits show the eight full colours only.
inline PaletteKind PaletteKindForDepth(int depth) { return depth < 8 ? PALETTE_111 : PALETTE_332; }

// Palette index of a colour.
uint8_t PaletteIndex(PaletteKind kind, uint8_t red, uint8_t green, uint8_t blue);
// The kind's 256-entry colour table.
const RGBQUAD* PaletteTable(PaletteKind kind);
// Writes the kind's table over the 256 entries of an 8-bit block made by
// CreateDIB.
void SetPaletteTable(HDIB& dib, PaletteKind kind);
// w * e / 16 rounded to the nearest integer, halves away from zero, for an
// error e of -256..255 and a weight w of 1, 3, 5 or 7.
int32_t WeightedError(int weight, int error);

// Diffuses one picture of width x height source colours into palette
// indices, rows in storage order. The caller supplies each row's colours
// (red, green, blue per pixel, 0..255) and receives each row's indices.
class ErrorDiffusion {
 public:
  ErrorDiffusion(PaletteKind kind, int width, int height);
  // False when the row buffers could not be had.
  bool ok() const { return ok_; }

  // fill(int row, int32_t* rgb) writes width pixels of source row `row`;
  // emit(int row, const uint8_t* indices) receives width indices.
  template <class Fill, class Emit>
  void Run(Fill&& fill, Emit&& emit) {
    if (!ok_ || width_ <= 0 || height_ <= 0) return;
    int32_t* current = current_.data();
    int32_t* next = next_.data();
    fill(0, next);
    for (int y = 0; y < height_; ++y) {
      std::swap(current, next);
      bool last = y == height_ - 1;
      if (!last) fill(y + 1, next);
      DiffuseRow(current, last ? nullptr : next);
      emit(y, indices_.data());
    }
  }

 private:
  void DiffuseRow(const int32_t* current, int32_t* next);

  PaletteKind kind_;
  int width_;
  int height_;
  bool ok_ = false;
  std::vector<int32_t> current_;
  std::vector<int32_t> next_;
  std::vector<uint8_t> indices_;
};

}  // namespace pellora
