// The classic three-dimensional look of dialogs: system colours, raised
// and sunken edges, etched frames, focus rectangles and the standard
// icons, drawn on a device context.
#pragma once

#include <cstdint>

#include "platform/base/types.h"

namespace pellora {

class CDC;

namespace syscolour {
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kHighlight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kDarkShadow = RGB(0, 0, 0);
constexpr COLORREF kWindow = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kSelection = RGB(0, 0, 128);
constexpr COLORREF kSelectionText = RGB(255, 255, 255);
constexpr COLORREF kActiveCaption = RGB(0, 0, 128);
constexpr COLORREF kInactiveCaption = RGB(128, 128, 128);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);
constexpr COLORREF kInactiveCaptionText = RGB(192, 192, 192);
}  // namespace syscolour

// Lines are one pixel wide times the dialog's scale (unit) on dense screens.

// A frame one unit wide: topLeft on the top and left edges, bottomRight on
// the bottom and right ones.
void DrawEdgePair(CDC& dc, const Rect& r, COLORREF topLeft, COLORREF bottomRight, int unit = 1);
// A raised button face (pressed: flat and sunk by one unit).
void DrawButtonEdge(CDC& dc, const Rect& r, bool pressed, int unit = 1);
// The sunken border of an edit box around a white interior.
void DrawSunkenEdge(CDC& dc, const Rect& r, int unit = 1);
// An etched frame (group boxes).
void DrawEtchedFrame(CDC& dc, const Rect& r, int unit = 1);
// The dotted rectangle around a focused control's text.
void DrawFocusRect(CDC& dc, const Rect& r, int unit = 1);

// Icons are painted by a function into 32 x 32 pixels, kTransparentPixel
// where empty: the standard icons of message boxes below, and the
// program's own, which its dialog templates name.
constexpr int kIconSize = 32;
using IconPainter = void (*)(uint32_t* pixels);
void PaintHandIcon(uint32_t* pixels);
void PaintExclamationIcon(uint32_t* pixels);
void PaintAsteriskIcon(uint32_t* pixels);
// Draws the icon with its top-left corner at (x, y), each of its pixels a
// square of scale x scale; nothing without a painter.
void DrawIcon(CDC& dc, int x, int y, IconPainter icon, int scale = 1);

// Helpers for icon painters on a 32 x 32 pixel grid.
void FillIconDisc(uint32_t* pixels, double cx, double cy, double radius, uint32_t colour);
void FillIconRect(uint32_t* pixels, int x0, int y0, int x1, int y1, uint32_t colour);

}  // namespace pellora
