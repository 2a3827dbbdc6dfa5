// Fonts on Linux: a Windows face name matched through fontconfig to an
// installed TrueType font (metric-compatible faces first) and rendered with
// SDL_ttf.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <mutex>
#include <vector>

#include "platform/base/text.h"
#include "platform/draw/font.h"
#include "platform/draw/font_face.h"

namespace pellora {

namespace {

bool InitTtf() {
  static bool ready = TTF_Init() == 0;
  return ready;
}

// An opened TrueType face at one size.
class TtfFace : public FontFace {
 public:
  explicit TtfFace(TTF_Font* font) : font_(font) {}
  ~TtfFace() override { TTF_CloseFont(font_); }
  TtfFace(const TtfFace&) = delete;
  TtfFace& operator=(const TtfFace&) = delete;

  int Height() const override { return TTF_FontHeight(font_); }
  int Ascent() const override { return TTF_FontAscent(font_); }

  Size TextExtent(std::string_view text) const override {
    int w = 0, h = 0;
    if (!text.empty()) TTF_SizeUTF8(font_, Cp1252ToUtf8(text).c_str(), &w, &h);
    return {w, Height()};
  }

  TextMask RenderMask(std::string_view text) const override;

 private:
  TTF_Font* font_;
};

// Installed families to try for a Windows face name, best match first.
std::vector<const char*> Candidates(const std::string& faceName) {
  std::string name;
  for (char c : faceName) name += char(std::tolower(static_cast<unsigned char>(c)));
  bool serif = name.find("times") != std::string::npos || name.find("serif") == 0 ||
               (name.find("serif") != std::string::npos && name.find("sans") == std::string::npos);
  if (serif) return {"Liberation Serif", "Tinos", "DejaVu Serif", "serif"};
  return {"Liberation Sans", "Arimo", "DejaVu Sans", "sans-serif"};
}

struct FontFile {
  std::string path;
  int index = 0;
};

// Fontconfig's configuration and caches, released when the program ends.
class FontconfigSession {
 public:
  FontconfigSession() : ready_(FcInit()) {}
  ~FontconfigSession() {
    if (ready_) FcFini();
  }
  FontconfigSession(const FontconfigSession&) = delete;
  FontconfigSession& operator=(const FontconfigSession&) = delete;
  bool Ready() const { return ready_; }

 private:
  bool ready_;
};

// Asks fontconfig for a family in a style; accepts the answer only when it
// is that family (generic names accept whatever fontconfig chose).
bool Match(const char* family, int weight, bool italic, FontFile& file) {
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  static FontconfigSession session;
  if (!session.Ready()) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, weight >= FW_BOLD ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  bool ok = false;
  FcChar8* matchedFamily = nullptr;
  FcChar8* path = nullptr;
  bool generic = std::string(family).find('-') != std::string::npos || std::string(family) == "serif";
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
      FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
      (generic || FcStrCmpIgnoreCase(matchedFamily, reinterpret_cast<const FcChar8*>(family)) == 0)) {
    file.path = reinterpret_cast<const char*>(path);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
    ok = true;
  }
  FcPatternDestroy(match);
  return ok;
}

std::shared_ptr<TtfFace> OpenFace(const FontFile& file, int pixelHeight, int weight, bool italic) {
  if (!InitTtf()) return nullptr;
  // SDL_ttf sizes are points at 72 dots per inch: one point per pixel.
  TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixelHeight, file.index);
  if (!font) return nullptr;
  int style = TTF_STYLE_NORMAL;
  // A family without the wanted style file gets it synthesised.
  std::string lower;
  for (char c : file.path) lower += char(std::tolower(static_cast<unsigned char>(c)));
  if (weight >= FW_BOLD && lower.find("bold") == std::string::npos) style |= TTF_STYLE_BOLD;
  if (italic && lower.find("italic") == std::string::npos && lower.find("oblique") == std::string::npos)
    style |= TTF_STYLE_ITALIC;
  TTF_SetFontStyle(font, style);
  TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
  return std::make_shared<TtfFace>(font);
}

}  // namespace

std::shared_ptr<FontFace> OpenFontFace(int height, int weight, bool italic, const std::string& faceName) {
  int pixels = height < 0 ? -height : height;
  if (pixels == 0) pixels = 13;
  if (pixels > 1000) return nullptr;
  FontFile file;
  for (const char* family : Candidates(faceName)) {
    if (!Match(family, weight, italic, file)) continue;
    std::shared_ptr<TtfFace> face = OpenFace(file, pixels, weight, italic);
    if (!face) continue;
    // A positive height names the whole cell: shrink until the cell fits.
    while (height > 0 && pixels > 1 && face->Height() > height) {
      face = OpenFace(file, --pixels, weight, italic);
      if (!face) break;
    }
    if (face) return face;
  }
  return nullptr;
}

TextMask TtfFace::RenderMask(std::string_view text) const {
  TextMask mask;
  std::string utf8 = Cp1252ToUtf8(text);
  SDL_Surface* surface = TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!surface) return mask;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(surface);
  if (!argb) return mask;
  if (SDL_LockSurface(argb) == 0) {
    mask.width = argb->w;
    mask.height = argb->h;
    mask.coverage.resize(size_t(mask.width) * size_t(mask.height));
    for (int y = 0; y < argb->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
      for (int x = 0; x < argb->w; ++x) mask.coverage[size_t(y) * size_t(mask.width) + size_t(x)] = char(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return mask;
}

}  // namespace pellora
