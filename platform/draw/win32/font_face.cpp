// Fonts on Windows: the face asked for, created by GDI (which substitutes
// its own equivalents for the classic dialog faces) and drawn grey-scale
// antialiased into an off-screen bitmap for its coverage.
#include <mutex>

#include "platform/draw/font_face.h"
#include "platform/os/win32/wide.h"
#include "platform/os/win32/windows_api.h"

namespace pellora {
namespace {

// Text of the program's code page as the wide characters GDI draws.
std::wstring FromCp1252(std::string_view text) {
  if (text.empty() || text.size() > 0x7FFFFFFF) return {};
  int n = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(1252, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

class GdiFace : public FontFace {
 public:
  GdiFace(HDC dc, HFONT font) : dc_(dc), font_(font) {
    previous_ = SelectObject(dc_, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    height_ = int(metrics.tmHeight);
    ascent_ = int(metrics.tmAscent);
  }
  ~GdiFace() override {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  GdiFace(const GdiFace&) = delete;
  GdiFace& operator=(const GdiFace&) = delete;

  int Height() const override { return height_; }
  int Ascent() const override { return ascent_; }

  Size TextExtent(std::string_view text) const override {
    std::wstring wide = FromCp1252(text);
    SIZE size{};
    if (!wide.empty()) {
      std::lock_guard<std::mutex> lock(mutex_);
      GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &size);
    }
    return {int(size.cx), height_};
  }

  TextMask RenderMask(std::string_view text) const override {
    TextMask mask;
    std::wstring wide = FromCp1252(text);
    Size extent = TextExtent(text);
    if (wide.empty() || extent.cx <= 0 || height_ <= 0 || int64_t(extent.cx) * height_ > (int64_t(1) << 26))
      return mask;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = extent.cx;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return mask;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      HGDIOBJ before = SelectObject(dc_, bitmap);
      // White on black: any channel of a pixel is its coverage.
      RECT all{0, 0, extent.cx, height_};
      FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SetTextColor(dc_, 0xFFFFFF);
      SetBkMode(dc_, TRANSPARENT);
      SetTextAlign(dc_, TA_TOP | TA_LEFT);
      TextOutW(dc_, 0, 0, wide.c_str(), int(wide.size()));
      GdiFlush();
      SelectObject(dc_, before);
    }
    mask.width = extent.cx;
    mask.height = height_;
    mask.coverage.resize(size_t(mask.width) * size_t(mask.height));
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < mask.coverage.size(); ++i) mask.coverage[i] = char((pixels[i] >> 8) & 0xFF);
    DeleteObject(bitmap);
    return mask;
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_ = nullptr;
  int height_ = 0;
  int ascent_ = 0;
  // The face's DC holds a selection: one drawing at a time.
  mutable std::mutex mutex_;
};

}  // namespace

std::shared_ptr<FontFace> OpenFontFace(int height, int weight, bool italic, const std::string& faceName) {
  if (height < -1000 || height > 1000) return nullptr;
  std::wstring name = Utf8ToWide(faceName).substr(0, LF_FACESIZE - 1);
  // Grey-scale antialiasing, never ClearType: the coverage is one value.
  HFONT font = CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str());
  if (!font) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(font);
    return nullptr;
  }
  return std::make_shared<GdiFace>(dc, font);
}

}  // namespace pellora
