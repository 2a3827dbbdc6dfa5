#include "platform/video/video_bridge.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/palette.h"
#include "platform/draw/system_dc.h"
#include "platform/ui/message_box.h"

namespace pellora {
namespace {

// The entry points in the order they are resolved.
const char* const kEntryPoints[] = {"VideoForWindowsVersion", "DrawDibOpen",       "DrawDibClose",
                                    "DrawDibDraw",            "DrawDibBegin",      "DrawDibEnd",
                                    "DrawDibRealize",         "DrawDibGetPalette", "DrawDibSetPalette"};

}  // namespace

bool VideoBridge::LoadVideoBridge(const std::string& library) {
  if (loaded_) return true;
  if (!library_.Open(library)) return false;
  void* found[9] = {};
  for (size_t i = 0; i < 9; ++i) {
    found[i] = library_.Symbol(kEntryPoints[i]);
    if (!found[i]) {
      // The library stays loaded, unused, as long as the bridge.
      MessageBox(0, std::string("No ") + kEntryPoints[i] + " in DLL !", "", MB_ICONERROR);
      return false;
    }
  }
  version_ = reinterpret_cast<VersionProc>(found[0]);
  open_ = reinterpret_cast<OpenProc>(found[1]);
  close_ = reinterpret_cast<CloseProc>(found[2]);
  draw_ = reinterpret_cast<DrawProc>(found[3]);
  version_();
  loaded_ = true;
  return true;
}

bool VideoBridge::UnloadVideoBridge() {
  if (loaded_) {
    library_.Close();
    loaded_ = false;
    version_ = nullptr;
    open_ = nullptr;
    close_ = nullptr;
    draw_ = nullptr;
  }
  return true;
}

HDRAWDIB VideoBridge::DrawDibOpen() { return loaded_ ? open_() : nullptr; }

bool VideoBridge::DrawDibClose(HDRAWDIB hdd) { return loaded_ && hdd && close_(hdd) != 0; }

bool VideoBridge::DrawDibDraw(HDRAWDIB hdd, CDC& dc, int xDst, int yDst, int dxDst, int dyDst,
                              BITMAPINFOHEADER* header, void* bits, int xSrc, int ySrc, int dxSrc, int dySrc,
                              unsigned flags) {
  if (!loaded_ || !hdd || !header) return false;
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
    return draw_(hdd, systemDc, xDst, yDst, dxDst, dyDst, header, bits, xSrc, ySrc, dxSrc, dySrc, flags) != 0;
  });
  if (!colours.IsEmpty()) dc.SelectPalette(previous, true);
  return drawn;
}

}  // namespace pellora
