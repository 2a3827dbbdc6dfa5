// The video drawing bridge: when the platform's video drawing library is
// present, the screen image is drawn through its bitmap drawing functions
// instead of PaintDIB. The library is loaded by name at run time; where it
// does not exist (Linux), loading fails silently and PaintDIB draws.
//
// Entry points the library exports, as C functions (a device context is
// the system's, platform/draw/system_dc.h: a GDI one on Windows, elsewhere the
// caller's pellora::CDC; a drawing handle and a palette are opaque
// pointers of the library's own):
//
//   uint32_t VideoForWindowsVersion(void);
//   void*    DrawDibOpen(void);
//   int      DrawDibClose(void* hdd);
//   int      DrawDibDraw(void* hdd, void* dc, int xDst, int yDst, int dxDst, int dyDst,
//                        BITMAPINFOHEADER* header, void* bits, int xSrc, int ySrc,
//                        int dxSrc, int dySrc, unsigned flags);
//   int      DrawDibBegin(void* hdd, void* dc, int dxDst, int dyDst, BITMAPINFOHEADER* header,
//                         int dxSrc, int dySrc, unsigned flags);
//   int      DrawDibEnd(void* hdd);
//   unsigned DrawDibRealize(void* hdd, void* dc, int background);
//   void*    DrawDibGetPalette(void* hdd);
//   int      DrawDibSetPalette(void* hdd, void* palette);
//
// DrawDibDraw's source rectangle is counted from the bitmap's top row; a
// null bits pointer means the pixels follow the header's colour table.
#pragma once

#include <string>

#include "platform/draw/dib_drawing.h"

namespace pellora {

class CDC;

using HDRAWDIB = void*;

inline constexpr char kVideoBridgeLibrary[] = "MSVFW32.DLL";

// Loads the library (kVideoBridgeLibrary unless another name is given) and
// resolves its nine entry points; true when the bridge is usable. A missing
// library is silent; a missing entry point shows a message box.
bool LoadVideoBridge();
bool LoadVideoBridge(const std::string& library);
// Forgets a loaded bridge; always true.
bool UnloadVideoBridge();
bool VideoBridgeLoaded();

// Calls through the bridge; without it they do nothing and fail.
HDRAWDIB DrawDibOpen();
bool DrawDibClose(HDRAWDIB hdd);
bool DrawDibDraw(HDRAWDIB hdd, CDC& dc, int xDst, int yDst, int dxDst, int dyDst, BITMAPINFOHEADER* header,
                 void* bits, int xSrc, int ySrc, int dxSrc, int dySrc, unsigned flags);

}  // namespace pellora
