#include "show/show_wnd.h"

#include "document/diapo_doc.h"
#include "image/paint_dib.h"
#include "platform/draw/dc.h"
#include "platform/draw/dib_drawing.h"
#include "platform/draw/palette.h"
#include "platform/draw/screen.h"
#include "platform/ui/cursor.h"
#include "platform/ui/window_dc.h"
#include "show/frame_canvas.h"
#include "show/intro_dlg.h"
#include "show/show_host.h"
#include "show/show_sound.h"
#include "show/transitions.h"

namespace pellora {

CShowWnd::CShowWnd(ShowHost& host, CShowSound& sound) : host_(host), sound_(sound), bridge_(host.Bridge()) {
  sound_.SetShowWindow(this);
  if (bridge_.VideoBridgeLoaded()) drawDib = bridge_.DrawDibOpen();
}

CShowWnd::~CShowWnd() {
  DestroyWindow();
  if (drawDib) bridge_.DrawDibClose(drawDib);
  sound_.SetShowWindow(nullptr);
}

bool CShowWnd::CreateFullScreen(CWnd* owner) {
  if (!owner || !owner->m_hWnd) return false;
  Size screen = GetScreenSize();
  WindowSpec spec;
  spec.style = WS_POPUP;
  spec.classStyle = CS_DBLCLKS;
  spec.background = 0x000000;
  spec.rect = {0, 0, screen.cx, screen.cy};
  spec.owner = owner->m_hWnd;
  return CreateFromSpec(spec);
}

int CShowWnd::OnCreate() {
  showActive = true;
  timerId = SetTimer(kTimerId, kTimerPeriodMs);
  SetCursor(CursorKind::None);
  CDC screen;
  SetSystemPaletteUse(screen, SYSPAL_NOSTATIC);
  return 0;
}

void CShowWnd::OnDestroy() {
  sound_.StopSound();
  currentFrame.m_hDIB.Free();
  currentFrame.m_palette.DeleteObject();
  backgroundFrame.m_hDIB.Free();
  backgroundFrame.m_palette.DeleteObject();
  showActive = false;
  KillTimer(timerId);
  SetCursor(CursorKind::Arrow);
  CDC screen;
  SetSystemPaletteUse(screen, SYSPAL_STATIC);
  host_.CloseProgram();
}

void CShowWnd::StartShow(CDiapoDoc* showDocument) {
  if (showDocument && !showDocument->title.empty()) {
    CIntroDlg card(host_.CentringRect(), host_.Fonts());
    card.title = showDocument->title;
    card.description = showDocument->description;
    card.notice = showDocument->notice;
    card.DoModal();
  }
  SetCursor(CursorKind::None);
  keyNavigation = false;
  currentSoundMode = kNoSoundMode;
  document = showDocument;
  if (!document) return;
  elapsedSeconds = 0;
  MakeBackgroundFrame();
  currentFrame.CopyFrom(backgroundFrame);
  InvalidateRect(nullptr, false);
  UpdateWindow();
  slideCount = int32_t(document->slides.size());
  currentIndex = 0;
  ShowSlide(0);
}

void CShowWnd::MakeBackgroundFrame() {
  HDIB background = document->MakeBackground();
  if (!background) {
    // A background that cannot be built leaves the screen black: the
    // slides are placed on a black frame of the screen's size instead.
    Rect client = GetClientRect();
    background = CreateDIB(uint32_t(client.Width()), client.Height(), 24);
  }
  backgroundFrame.m_hDIB.Free();
  backgroundFrame.Attach(std::move(background));
}

void CShowWnd::ShowSlide(int32_t index) {
  if (!document) return;
  currentIndex = index;
  if (index < 0 || size_t(index) >= document->slides.size() || !document->slides[size_t(index)]) return;
  const CDiapoObject& slide = *document->slides[size_t(index)];
  bool waiting = keyNavigation;
  CursorKind previous = CursorKind::None;
  if (waiting) previous = SetCursor(CursorKind::Wait);
  currentFrame.CopyFrom(backgroundFrame);
  if (currentFrame.m_hDIB) slide.RenderPicture(currentFrame.m_hDIB, document);
  bool started = true;
  switch (slide.soundMode) {
    case SOUND_SHOW_MUSIC:
      if (currentSoundMode != SOUND_SHOW_MUSIC)
        started = StartSound(document->musicFileName, document->musicData, document->musicSize, true);
      break;
    case SOUND_SILENCE: sound_.StopSound(); break;
    case SOUND_SLIDE: started = StartSound(slide.soundFileName, slide.soundData, slide.soundSize, false); break;
    default: break;
  }
  if (slide.soundMode != SOUND_KEEP) currentSoundMode = slide.soundMode;
  if (waiting) SetCursor(previous);
  RunTransition(slide.transition);
  elapsedSeconds = 0;
  // A sound that could not even start would never end: a slide waiting
  // for it moves on as if it had ended.
  if (!started) SoundFinished();
}

bool CShowWnd::StartSound(const std::string& name, const GlobalBlock& data, uint32_t size, bool loop) {
  // The extension is the name's last three characters; a shorter name is
  // its own extension.
  std::string extension = name.size() > 3 ? name.substr(name.size() - 3) : name;
  sound_.StopSound();
  if (extension.empty()) return true;
  if (data && size > 0) return sound_.PlayEmbeddedSound(data, size, loop, extension);
  sound_.PlaySoundFile(name, loop);
  return true;
}

void CShowWnd::RunTransition(uint16_t effect) {
  effect = PickTransition(effect, host_.Random());
  {
    CClientDC dc(this);
    BITMAPINFOHEADER* header = drawDib ? BridgeHeader(currentFrame.m_hDIB) : nullptr;
    FrameCanvas canvas(*this, dc, currentFrame.m_hDIB, bridge_, drawDib, header);
    RunTransitionSteps(effect, GetClientRect(), canvas, host_.Random());
  }
  InvalidateRect(nullptr, false);
  UpdateWindow();
}

void CShowWnd::OnPaint() {
  CPaintDC dc(this);
  Rect client = GetClientRect();
  if (!currentFrame.m_hDIB) {
    // Nothing to show yet: the black background.
    dc.FillSolidRect(client, RGB(0, 0, 0));
    return;
  }
  if (drawDib) {
    if (BITMAPINFOHEADER* header = BridgeHeader(currentFrame.m_hDIB))
      bridge_.DrawDibDraw(drawDib, dc, client.left, client.top, client.Width(), client.Height(), header, nullptr,
                          client.left, client.top, client.Width(), client.Height(), 0);
    return;
  }
  const CPalette* palette = currentFrame.m_palette.IsEmpty() ? nullptr : &currentFrame.m_palette;
  const CPalette* previous = dc.SelectPalette(palette, false);
  dc.RealizePalette();
  PaintDIB(dc, client, currentFrame.m_hDIB, client, palette);
  dc.SelectPalette(previous, true);
}

bool CShowWnd::OnSetCursor(CWnd*, uint32_t, uint32_t) {
  SetCursor(document ? CursorKind::None : CursorKind::Arrow);
  return true;
}

void CShowWnd::OnActivate(uint32_t state, CWnd* other, bool minimized) {
  CWnd::OnActivate(state, other, minimized);
  if (state == WA_ACTIVE || state == WA_CLICKACTIVE) RealizeShowPalette(m_hWnd);
}

void CShowWnd::RealizeShowPalette(HWND cause) {
  if (currentFrame.m_palette.IsEmpty()) return;
  CClientDC dc(&host_.PaletteOwner());
  const CPalette* previous = dc.SelectPalette(&currentFrame.m_palette, cause != m_hWnd);
  if (dc.RealizePalette() != 0) Invalidate(true);
  dc.SelectPalette(previous, false);
}

void CShowWnd::OnTimer(uintptr_t) {
  ++elapsedSeconds;
  if (!document || currentIndex < 0 || size_t(currentIndex) >= document->slides.size()) return;
  const auto& slide = document->slides[size_t(currentIndex)];
  if (slide && slide->advanceMode == ADVANCE_TIMED && int32_t(slide->duration) <= elapsedSeconds) OnSlideNext();
}

void CShowWnd::OnSlideFirst() {
  if (!document || currentIndex <= 0) return;
  SetActiveWindow();
  ShowSlide(0);
}

void CShowWnd::OnSlidePrev() {
  if (!document || currentIndex <= 0) return;
  SetActiveWindow();
  ShowSlide(currentIndex - 1);
}

std::optional<int32_t> CShowWnd::NextIndex() const {
  if (currentIndex < slideCount - 1) return currentIndex + 1;
  if (document->loopShow) return 0;
  return std::nullopt;
}

void CShowWnd::OnSlideNext() {
  if (!document) return;
  std::optional<int32_t> next = NextIndex();
  if (!next) return;
  SetActiveWindow();
  ShowSlide(*next);
}

void CShowWnd::OnSlideLast() {
  if (!document || currentIndex >= slideCount - 1) return;
  SetActiveWindow();
  ShowSlide(slideCount - 1);
}

bool CShowWnd::OnCommand(WPARAM wParam, LPARAM) {
  switch (uint32_t(wParam & 0xFFFF)) {
    case ID_SLIDE_FIRST: OnSlideFirst(); return true;
    case ID_SLIDE_PREV: OnSlidePrev(); return true;
    case ID_SLIDE_NEXT: OnSlideNext(); return true;
    case ID_SLIDE_LAST: OnSlideLast(); return true;
    default: return false;
  }
}

void CShowWnd::OnKeyDown(uint32_t key, uint32_t, uint32_t) {
  void (CShowWnd::*command)() = nullptr;
  switch (key) {
    case VK_HOME: command = &CShowWnd::OnSlideFirst; break;
    case VK_END: command = &CShowWnd::OnSlideLast; break;
    case VK_LEFT:
    case VK_UP: command = &CShowWnd::OnSlidePrev; break;
    case VK_RIGHT:
    case VK_DOWN: command = &CShowWnd::OnSlideNext; break;
    default: break;
  }
  if (!command) {
    keyNavigation = false;
    DestroyWindow();
    return;
  }
  keyNavigation = true;
  (this->*command)();
  keyNavigation = false;
}

void CShowWnd::OnLButtonDown(uint32_t, Point) { DestroyWindow(); }
void CShowWnd::OnRButtonDown(uint32_t, Point) { DestroyWindow(); }
void CShowWnd::OnLButtonDblClk(uint32_t, Point) { DestroyWindow(); }

bool CShowWnd::SoundFinished() {
  if (!document) return true;
  if (currentIndex < 0 || size_t(currentIndex) >= document->slides.size() || !document->slides[size_t(currentIndex)])
    return true;
  if (document->slides[size_t(currentIndex)]->advanceMode != ADVANCE_AT_SOUND_END) return true;
  std::optional<int32_t> next = NextIndex();
  if (!next) return false;
  bool again = true;
  if (size_t(*next) < document->slides.size() && document->slides[size_t(*next)]) {
    switch (document->slides[size_t(*next)]->soundMode) {
      case SOUND_SHOW_MUSIC: again = currentSoundMode == SOUND_SHOW_MUSIC; break;
      case SOUND_SILENCE:
      case SOUND_SLIDE: again = false; break;
      default: again = true; break;
    }
  }
  PostMessage(WM_COMMAND, ID_SLIDE_NEXT);
  return again;
}

}  // namespace pellora
