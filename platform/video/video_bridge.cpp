#include "platform/video/video_bridge.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/palette.h"
#include "platform/draw/system_dc.h"
#include "platform/os/dynamic_library.h"
#include "platform/ui/message_box.h"

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
  // A picture of 256 colours or fewer brings its colours to a palette
  // display, in the foreground, as the library does on such displays: the
  // system's own library realises them in its context, which is not ours.
  CPalette colours;
  if (header->biBitCount <= 8) {
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(header) + header->biSize);
    uint32_t count = std::min<uint32_t>(header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount, 256);
    std::vector<PaletteEntry> entries(count);
    for (uint32_t i = 0; i < count; ++i) entries[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    colours = CPalette(std::move(entries));
  }
  const CPalette* previous = colours.IsEmpty() ? nullptr : dc.SelectPalette(&colours, false);
  if (!colours.IsEmpty()) dc.RealizePalette();
  // The library draws on a device context of the system's, which ends up
  // in dc.
  Rect area{xDst, yDst, xDst + dxDst, yDst + dyDst};
  bool drawn = DrawThroughSystemDc(dc, area, [&](void* systemDc) {
    return State().draw(hdd, systemDc, xDst, yDst, dxDst, dyDst, header, bits, xSrc, ySrc, dxSrc, dySrc, flags) != 0;
  });
  if (!colours.IsEmpty()) dc.SelectPalette(previous, true);
  return drawn;
}

}  // namespace pellora
