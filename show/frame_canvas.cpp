#include "show/frame_canvas.h"

#include "image/paint_dib.h"
#include "platform/draw/dc.h"
#include "platform/ui/window.h"

namespace pellora {

void FrameCanvas::Draw(const Rect& rect) {
  if (drawDib_ && header_) {
    bridge_.DrawDibDraw(drawDib_, dc_, rect.left, rect.top, rect.Width(), rect.Height(), header_, nullptr, rect.left,
                        rect.top, rect.Width(), rect.Height(), 0);
  } else {
    PaintDIB(dc_, rect, frame_, rect, nullptr);
  }
}

void FrameCanvas::Scroll(const Rect& area, int dx, int dy) { window_.ScrollWindowEx(dx, dy, &area, nullptr); }

BITMAPINFOHEADER* BridgeHeader(HDIB& frame) {
  if (!frame || frame.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(frame.data());
  if (header->biSize != sizeof(BITMAPINFOHEADER)) return nullptr;
  if (header->biClrUsed == 0 && header->biBitCount <= 8) header->biClrUsed = 1u << header->biBitCount;
  return header;
}

}  // namespace pellora
