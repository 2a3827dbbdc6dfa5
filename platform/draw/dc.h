// Device contexts: where drawing calls write. A DC draws into a surface
// through an origin, clipped to an area, with a selected palette, font and
// text colour; the window DCs (platform/ui/window_dc.h) give it a window's
// surface and tell the screen what changed.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/types.h"
#include "platform/draw/surface.h"

namespace pellora {

class CFont;
class CPalette;

// Text layout flags.
enum : uint32_t {
  DT_LEFT = 0x0000,
  DT_CENTER = 0x0001,
  DT_RIGHT = 0x0002,
  DT_VCENTER = 0x0004,
  DT_WORDBREAK = 0x0010,
  DT_SINGLELINE = 0x0020,
  DT_CALCRECT = 0x0400,
  DT_NOPREFIX = 0x0800,
};

// Marks a transparent pixel in DrawPixels.
constexpr uint32_t kTransparentPixel = 0xFF000000;

class CDC {
 public:
  // A DC with nothing to draw on: text is measured, palettes selected.
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  Surface* Target() const { return surface_; }
  Point Origin() const { return origin_; }
  // Clip rectangle in DC coordinates.
  Rect ClipBox() const { return clip_; }
  void SetClip(const Rect& clip);

  void FillSolidRect(const Rect& rect, COLORREF colour);
  // Writes 0x00RRGGBB pixels; used by the drawing functions.
  void PutPixels(int x, int y, const uint32_t* pixels, int count);
  // Reports a changed rectangle (DC coordinates) to the screen.
  void NoteDrawn(const Rect& rect);

  // Palette selection; returns the previously selected palette.
  const CPalette* SelectPalette(const CPalette* palette, bool forceBackground);
  const CPalette* SelectedPalette() const { return palette_; }
  // Maps the selected palette into the system palette on displays with a
  // palette; the number of system entries that changed.
  unsigned RealizePalette();

  // Pixels 0x00RRGGBB with their top-left corner at (x, y); pixels equal
  // to kTransparentPixel are left alone.
  void DrawPixels(int x, int y, int width, int height, const uint32_t* pixels);

  // Text in Windows-1252 with the selected font and text colour, drawn
  // over what is there.
  const CFont* SelectFont(const CFont* font);
  const CFont* SelectedFont() const { return font_; }
  COLORREF SetTextColor(COLORREF colour);
  void TextOut(int x, int y, std::string_view text);
  Size GetTextExtent(std::string_view text) const;
  // Lays text out in rect: one line, or broken at spaces and line breaks
  // with DT_WORDBREAK; '&' marks the next character as a mnemonic (drawn
  // underlined) unless DT_NOPREFIX. With DT_CALCRECT nothing is drawn and
  // rect's bottom and right are set to what the text needs, down to rect's
  // height when it has one. Only what can be seen is laid out: a line too
  // long to fit shows from its start, lines below the rectangle are skipped.
  // Returns the height of the text.
  int DrawText(std::string_view text, Rect& rect, uint32_t format);

  // Maps a colour to what the display can show (identity on true colour).
  uint32_t DisplayColour(uint32_t pixel) const;

  // The stretch mode; returns the previous one.
  int SetStretchMode(int mode);
  int StretchMode() const { return stretchMode_; }

 protected:
  // Draws into surface from now on: DC coordinates start at origin and
  // drawing keeps inside clip.
  void Attach(Surface* surface, Point origin, const Rect& clip);
  // A changed rectangle of the surface, in surface coordinates.
  virtual void Drawn(const Rect&) {}

 private:
  Surface* surface_ = nullptr;
  Point origin_;
  Rect clip_;
  const CPalette* palette_ = nullptr;
  bool backgroundPalette_ = false;
  int stretchMode_ = 1;
  const CFont* font_ = nullptr;
  COLORREF textColour_ = 0;
};

}  // namespace pellora
