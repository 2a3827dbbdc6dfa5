// The error-diffusion engine must reduce a 1920 x 1080 24-bit picture to
// PALETTE_332 at 100 megapixels per second or more on one core.
#include <cstdio>
#include <random>

#include "bench/timing.h"
#include "image/colour_reduction.h"
#include "image/dib_pixels.h"
#include "platform/headless/headless_backend.h"

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  using namespace pellora;
  constexpr int kWidth = 1920, kHeight = 1080;
  HDIB picture = CreateDIB(kWidth, kHeight, 24);
  std::optional<DibRows> rows = DibRows::Open(picture);
  std::mt19937 random(3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth * 3; ++x) rows->Row(y)[x] = uint8_t((x + y) / 9 + random() % 32);
  double megapixels = double(kWidth) * kHeight / 1e6;
  bool ok = true;
  for (PaletteKind kind : {PALETTE_332, PALETTE_111}) {
    double seconds = bench::MedianSeconds(21, [&] { HDIB reduced = ReduceDIB(picture, kind); });
    double rate = megapixels / seconds;
    std::printf("ReduceDIB 1920x1080 to %s: %.2f ms\n", kind == PALETTE_332 ? "PALETTE_332" : "PALETTE_111",
                seconds * 1e3);
    if (kind == PALETTE_332) ok &= bench::Report("PALETTE_332 reduction rate", rate, 100.0, "MP/s", false);
    else bench::Report("PALETTE_111 reduction rate", rate, 100.0, "MP/s", false);
  }
  return ok ? 0 : 1;
}
