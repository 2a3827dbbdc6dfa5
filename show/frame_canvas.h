// FrameCanvas: where the transition effects of the show window draw. It
// copies rectangles of the new frame to the same place in the window,
// through the video bridge when the window holds a drawing handle and with
// PaintDIB otherwise, and scrolls the window's contents.
#pragma once

#include "image/dib.h"
#include "platform/video/video_bridge.h"
#include "show/transitions.h"

namespace pellora {

class CDC;
class CWnd;

class FrameCanvas : public TransitionCanvas {
 public:
  // header is the frame's locked header when drawing through the bridge's
  // drawDib.
  FrameCanvas(CWnd& window, CDC& dc, const HDIB& frame, VideoBridge& bridge, HDRAWDIB drawDib,
              BITMAPINFOHEADER* header)
      : window_(window), dc_(dc), frame_(frame), bridge_(bridge), drawDib_(drawDib), header_(header) {}

  void Draw(const Rect& rect) override;
  void Scroll(const Rect& area, int dx, int dy) override;

 private:
  CWnd& window_;
  CDC& dc_;
  const HDIB& frame_;
  VideoBridge& bridge_;
  HDRAWDIB drawDib_;
  BITMAPINFOHEADER* header_;
};

// The frame's header for drawing through the bridge, with its count of
// colours used stated (2^bits when it was 0 for 8 bits or fewer), as the
// bridge expects; null when the block holds no header.
BITMAPINFOHEADER* BridgeHeader(HDIB& frame);

}  // namespace pellora
