// The video drawing bridge: when the platform's video drawing library is
// present, the screen image is drawn through its bitmap drawing functions
// instead of PaintDIB. The library is loaded by name at run time; where it
// does not exist (Linux), loading fails silently and PaintDIB draws. The
// bridge is an object of its owner's (the player's application object),
// which loads it at start-up and releases it at exit.
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

#include <cstdint>
#include <string>

#include "platform/draw/dib_drawing.h"
#include "platform/os/dynamic_library.h"

namespace pellora {

class CDC;

using HDRAWDIB = void*;

inline constexpr char kVideoBridgeLibrary[] = "MSVFW32.DLL";

class VideoBridge {
 public:
  VideoBridge() = default;
  ~VideoBridge() { UnloadVideoBridge(); }
  VideoBridge(const VideoBridge&) = delete;
  VideoBridge& operator=(const VideoBridge&) = delete;

  // Loads the library (kVideoBridgeLibrary unless another name is given)
  // and resolves its nine entry points; true when the bridge is usable. A
  // missing library is silent; a missing entry point shows a message box.
  // A bridge that is loaded stays as it is.
  bool LoadVideoBridge(const std::string& library = kVideoBridgeLibrary);
  // Forgets a loaded bridge; always true.
  bool UnloadVideoBridge();
  bool VideoBridgeLoaded() const { return loaded_; }

  // Calls through the bridge; without it they do nothing and fail.
  HDRAWDIB DrawDibOpen();
  bool DrawDibClose(HDRAWDIB hdd);
  bool DrawDibDraw(HDRAWDIB hdd, CDC& dc, int xDst, int yDst, int dxDst, int dyDst, BITMAPINFOHEADER* header,
                   void* bits, int xSrc, int ySrc, int dxSrc, int dySrc, unsigned flags);

 private:
  // The library's calling convention is the system's (the callee clears
  // the stack on 32-bit Windows): the build names it in PELLORA_SYSTEM_CALL.
  using VersionProc = uint32_t(PELLORA_SYSTEM_CALL*)();
  using OpenProc = void*(PELLORA_SYSTEM_CALL*)();
  using CloseProc = int(PELLORA_SYSTEM_CALL*)(void*);
  using DrawProc = int(PELLORA_SYSTEM_CALL*)(void*, void*, int, int, int, int, BITMAPINFOHEADER*, void*, int, int,
                                             int, int, unsigned);

  bool loaded_ = false;
  DynamicLibrary library_;
  VersionProc version_ = nullptr;
  OpenProc open_ = nullptr;
  CloseProc close_ = nullptr;
  DrawProc draw_ = nullptr;
};

}  // namespace pellora
