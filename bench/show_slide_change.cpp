// A slide change at 1920 x 1080 in true colour with the cut transition,
// against the slide's preparation alone (the copy of the background and
// the decoding and placing of a 1600 x 1200 JPEG picture). The change adds
// the drawing of the whole frame and its presentation (the headless
// screen copies each presented frame, as a display upload would), and must
// cost at most twice the preparation.
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "document/diapo_doc.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "show/show_wnd.h"
#include "tests/support/lone_show_host.h"
#include "tests/support/picture_files.h"

namespace {

using namespace pellora;

// A photograph-like picture: smooth shapes with grain.
GlobalBlock PictureBytes(const std::string& directory, int index) {
  std::mt19937 grain{uint32_t(index)};
  const int w = 1600, h = 1200;
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
      p[0] = uint8_t((x * (index + 1)) / 8 + grain() % 16);
      p[1] = uint8_t(y / 5 + grain() % 16);
      p[2] = uint8_t(((x + y) * 3) / 17 + grain() % 16);
    }
  std::string path = directory + "bench-picture.jpg";
  test::WriteJpeg(path, w, h, rgb, 3, 85);
  CFile file;
  file.Open(path, CFile::Mode::Read);
  GlobalBlock bytes = GlobalBlock::Allocate(size_t(file.Length()), false);
  file.Read(bytes.data(), bytes.size());
  file.Close();
  DeleteFileNormal(path);
  return bytes;
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  HeadlessBackend::Options options;
  options.screen = {1920, 1080};
  InstallBackend(std::make_unique<HeadlessBackend>(options));

  CDiapoDoc document;
  document.backgroundKind = BACKGROUND_GRADIENT;
  document.pictureMargin = 20;
  for (int i = 0; i < 3; ++i) {
    auto slide = std::make_shared<CDiapoObject>();
    slide->pictureFormat = "JPG";
    slide->pictureFileName = "photo.jpg";
    slide->pictureData = PictureBytes(GetTempDirectory(), i);
    slide->pictureSize = uint32_t(slide->pictureData.size());
    slide->pictureFit = FIT_KEEP_RATIO;
    slide->transition = 1;
    slide->soundMode = SOUND_KEEP;
    document.slides.push_back(slide);
  }

  test::LoneShowHost host;
  CShowWnd window(host, host.sound);
  host.window = &window;
  WindowSpec spec;
  spec.style = WS_POPUP;
  spec.rect = {0, 0, 1920, 1080};
  window.CreateFromSpec(spec);
  window.ShowWindow(true);
  window.StartShow(&document);

  const int runs = 15;
  int next = 0;
  CDIB frame;
  double prepare = bench::MedianSeconds(runs, [&] {
    frame.CopyFrom(window.backgroundFrame);
    document.slides[size_t(next++ % 3)]->RenderPicture(frame.m_hDIB, &document);
  });
  double change = bench::MedianSeconds(runs, [&] { window.ShowSlide(next++ % 3); });

  std::printf("slide preparation (copy + JPEG decode + placement): %.1f ms\n", prepare * 1000);
  std::printf("slide change with the cut transition:               %.1f ms\n", change * 1000);
  bool ok = bench::Report("slide change / preparation at 1920x1080, 24 bits", change / prepare, 2.0, "x");
  window.DestroyWindow();
  ReleaseBackend();
  return ok ? 0 : 1;
}
