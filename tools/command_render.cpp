// pellora render FILE --out DIR [--size WxH] [--depth 24|8|4]
#include <cstdio>
#include <filesystem>

#include "document/diapo_doc.h"
#include "image/colour_reduction.h"
#include "image/composition.h"
#include "image/dib_rgb.h"
#include "platform/backend.h"
#include "platform/draw/screen.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/pending_file.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/show_input.h"

namespace pellora::tools {
namespace {

std::string SlideFileName(size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "slide-%03zu.png", index + 1);
  return name;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  std::string file, out;
  Size size{640, 480};
  int depth = 24;
  ArgumentParser parser("render", "FILE");
  parser.Value({"--out", "-o"}, out)
      .Value({"--size"},
             [&size](const std::string& name, const std::string& value) { return ParseScreenSize(name, value, size); })
      .Value({"--depth"}, [&depth](const std::string&, const std::string& value) {
        if (value != "24" && value != "8" && value != "4") return std::string("--depth must be 24, 8 or 4");
        depth = std::stoi(value);
        return std::string();
      });
  if (auto error = parser.Parse(args, file)) return Fail(kExitUsage, *error);
  if (file.empty() || out.empty()) return Fail(kExitUsage, "render: usage: pellora render FILE --out DIR");

  // A screen of the requested size and depth, as the player would see it.
  HeadlessBackend::Options options;
  options.screen = size;
  InstallBackend(std::make_unique<HeadlessBackend>(options));
  SetScreenDepthOverride(depth);

  PackageLocation location;
  std::string message;
  std::unique_ptr<CDiapoDoc> document = LoadShowFile(file, location, message);
  if (!document) return Fail(kExitBadFile, message);
  std::error_code ec;
  std::filesystem::create_directories(PathFromUtf8(out), ec);
  if (!std::filesystem::is_directory(PathFromUtf8(out), ec)) return Fail(kExitBadFile, "render: cannot create " + out);
  // Every picture's name is checked before any is written.
  std::vector<std::string> names = {"background.png"};
  for (size_t i = 0; i < document->slides.size(); ++i) names.push_back(SlideFileName(i));
  for (const std::string& name : names)
    if (std::string refusal = OutputRefusal(PathToUtf8(PathFromUtf8(out) / name), {file}); !refusal.empty())
      return Fail(kExitBadFile, "render: will not write: " + refusal);

  // The show window's background frame; without one the screen stays black.
  CDIB background;
  background.Attach(document->MakeBackground());
  if (!background.m_hDIB) background.Attach(SolidBackground(RGB(0, 0, 0), size.cx, size.cy, depth));
  std::string path = PathToUtf8(PathFromUtf8(out) / "background.png");
  if (!WriteDIBPng(path, background.m_hDIB)) return Fail(kExitBadFile, "render: cannot write " + path);

  // Each slide as the show window prepares it: a copy of the background
  // with the slide's picture rendered into it.
  for (size_t i = 0; i < document->slides.size(); ++i) {
    CDIB current;
    current.CopyFrom(background);
    if (const auto& slide = document->slides[i]) slide->RenderPicture(current.m_hDIB, document.get());
    path = PathToUtf8(PathFromUtf8(out) / SlideFileName(i));
    if (!WriteDIBPng(path, current.m_hDIB)) return Fail(kExitBadFile, "render: cannot write " + path);
  }
  return kExitOk;
}

}  // namespace pellora::tools
