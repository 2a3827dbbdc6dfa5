#include "image/video_bridge.h"

#include <cstdint>

#include "platform/app.h"
#include "platform/dc.h"
#include "platform/dynamic_library.h"
#include "platform/system_dc.h"

namespace pellora {
namespace {

// The library's calling convention is the system's (the callee clears the
// stack on 32-bit Windows): the build names it in PELLORA_SYSTEM_CALL.
extern "C" {
using VersionProc = uint32_t(PELLORA_SYSTEM_CALL*)();
using OpenProc = void*(PELLORA_SYSTEM_CALL*)();
using CloseProc = int(PELLORA_SYSTEM_CALL*)(void*);
using DrawProc = int(PELLORA_SYSTEM_CALL*)(void*, void*, int, int, int, int, BITMAPINFOHEADER*, void*, int, int, int,
                                           int, unsigned);
}

struct Bridge {
  bool loaded = false;
  DynamicLibrary library;
  VersionProc version = nullptr;
  OpenProc open = nullptr;
  CloseProc close = nullptr;
  DrawProc draw = nullptr;
};

Bridge& State() {
  static Bridge bridge;
  return bridge;
}

// The entry points in the order they are resolved.
const char* const kEntryPoints[] = {"VideoForWindowsVersion", "DrawDibOpen",       "DrawDibClose",
                                    "DrawDibDraw",            "DrawDibBegin",      "DrawDibEnd",
                                    "DrawDibRealize",         "DrawDibGetPalette", "DrawDibSetPalette"};

}  // namespace

bool LoadVideoBridge() { return LoadVideoBridge(kVideoBridgeLibrary); }

bool LoadVideoBridge(const std::string& library) {
  Bridge& b = State();
  if (b.loaded) return true;
  if (!b.library.Open(library)) return false;
  void* found[9] = {};
  for (size_t i = 0; i < 9; ++i) {
    found[i] = b.library.Symbol(kEntryPoints[i]);
    if (!found[i]) {
      // The library stays loaded, unused, until the process ends.
      MessageBox(0, std::string("No ") + kEntryPoints[i] + " in DLL !", "", MB_ICONERROR);
      return false;
    }
  }
  b.version = reinterpret_cast<VersionProc>(found[0]);
  b.open = reinterpret_cast<OpenProc>(found[1]);
  b.close = reinterpret_cast<CloseProc>(found[2]);
  b.draw = reinterpret_cast<DrawProc>(found[3]);
  b.version();
  b.loaded = true;
  return true;
}

bool UnloadVideoBridge() {
  Bridge& b = State();
  if (b.loaded) {
    b.library.Close();
    b.loaded = false;
    b.version = nullptr;
    b.open = nullptr;
    b.close = nullptr;
    b.draw = nullptr;
  }
  return true;
}

bool VideoBridgeLoaded() { return State().loaded; }

HDRAWDIB DrawDibOpen() { return State().loaded ? State().open() : nullptr; }

bool DrawDibClose(HDRAWDIB hdd) { return State().loaded && hdd && State().close(hdd) != 0; }

bool DrawDibDraw(HDRAWDIB hdd, CDC& dc, int xDst, int yDst, int dxDst, int dyDst, BITMAPINFOHEADER* header,
                 void* bits, int xSrc, int ySrc, int dxSrc, int dySrc, unsigned flags) {
  if (!State().loaded || !hdd || !header) return false;
  // The library draws on a device context of the system's, which ends up
  // in dc.
  Rect area{xDst, yDst, xDst + dxDst, yDst + dyDst};
  return DrawThroughSystemDc(dc, area, [&](void* systemDc) {
    return State().draw(hdd, systemDc, xDst, yDst, dxDst, dyDst, header, bits, xSrc, ySrc, dxSrc, dySrc, flags) != 0;
  });
}

}  // namespace pellora
