// GIF through giflib: the first frame, on the picture's canvas, its
// transparent pixels black.
#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "tools/pictures/codecs.h"

namespace pellora::pictures {
namespace {

struct Memory {
  std::span<const uint8_t> bytes;
  size_t at = 0;
};

int Read(GifFileType* gif, GifByteType* buffer, int size) {
  auto* m = static_cast<Memory*>(gif->UserData);
  size_t n = size <= 0 ? 0 : std::min(size_t(size), m->bytes.size() - m->at);
  std::memcpy(buffer, m->bytes.data() + m->at, n);
  m->at += n;
  return int(n);
}

struct Gif {
  Memory memory;
  GifFileType* gif = nullptr;
  explicit Gif(std::span<const uint8_t> bytes) {
    memory.bytes = bytes;
    int error = 0;
    gif = DGifOpen(&memory, Read, &error);
  }
  ~Gif() {
    int error = 0;
    if (gif) DGifCloseFile(gif, &error);
  }
  std::string Reason() const {
    const char* text = GifErrorString(gif ? gif->Error : 0);
    return std::string("damaged GIF") + (text ? std::string(": ") + text : "");
  }
};

bool Canvas(Gif& g, std::span<const uint8_t> bytes, std::string& reason) {
  if (!g.gif) {
    reason = "damaged GIF";
    return false;
  }
  return SizeAllowed(uint64_t(g.gif->SWidth), uint64_t(g.gif->SHeight), bytes.size(), reason);
}

bool GifFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  Gif g(bytes);
  if (!Canvas(g, bytes, reason)) return false;
  facts.width = g.gif->SWidth;
  facts.height = g.gif->SHeight;
  facts.lossless = true;
  return true;
}

bool GifDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string&) {
  Gif g(bytes);
  if (!Canvas(g, bytes, reason)) return false;
  GifFileType* gif = g.gif;
  int width = gif->SWidth, height = gif->SHeight;
  std::vector<uint8_t> canvas(size_t(width) * size_t(height) * 3);
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) break;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) break;
      GraphicsControlBlock control;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
        transparent = control.TransparentColor;
      while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return reason = g.Reason(), false;
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR) break;
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Width > 65535) break;
    std::vector<GifPixelType> line(size_t(frame.Width));
    // Interlaced frames give their rows in four passes.
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      for (int row = frame.Interlace ? kStart[pass] : 0; row < frame.Height; row += frame.Interlace ? kStep[pass] : 1) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
          reason = g.Reason();
          return false;
        }
        int y = frame.Top + row;
        if (y < 0 || y >= height) continue;
        for (int x = 0; x < frame.Width; ++x) {
          int cx = frame.Left + x, index = line[size_t(x)];
          if (cx < 0 || cx >= width || index == transparent || !colours || index >= colours->ColorCount) continue;
          uint8_t* out = &canvas[(size_t(y) * size_t(width) + size_t(cx)) * 3];
          out[0] = colours->Colors[index].Red;
          out[1] = colours->Colors[index].Green;
          out[2] = colours->Colors[index].Blue;
        }
      }
    }
    picture = PictureFromRgb(canvas.data(), width, height, size_t(width) * 3, 3);
    if (!picture) reason = "not enough memory for the picture";
    return bool(picture);
  }
  reason = g.Reason();
  return false;
}

}  // namespace

const Codec kGifCodec = {PictureFormat::Gif, &GifFacts, &GifDecode};

}  // namespace pellora::pictures
