// The main frame's part in the sound behind the show: the module player it
// owns, the state of the media sound, the end-of-sound check run at idle
// time, and the two device messages.
#include "app/main_frame.h"
#include "music/mod_player.h"
#include "music/mod_wait_cursor.h"
#include "show/show_wnd.h"
#include "show/sound.h"

namespace pellora {
namespace {

// Output blocks the module player keeps queued in the device.
constexpr uint32_t kModuleQueueLimit = 40;

}  // namespace

void CMainFrame::StartModule(const std::string& fileName, bool loop) {
  if (!modulePlayer) {
    modulePlayer = std::make_unique<CModPlayer>(m_hWnd);
    // Loading and measuring a song shows no wait cursor over the show.
    SetShowActiveQuery([] { return showActive; });
  }
  modulePlayer->queueLimit = kModuleQueueLimit;
  modulePlayer->Close();
  // A module that cannot be loaded does not play, and the show stays silent.
  modulePlayer->Open(fileName);
  if (modulePlayer->Play()) {
    moduleActive = true;
    moduleLoop = loop;
  }
}

void CMainFrame::StopModule() {
  if (!modulePlayer || !moduleActive) return;
  if (modulePlayer->IsPlaying()) modulePlayer->Stop();
  moduleLoop = false;
  moduleActive = false;
}

bool CMainFrame::ModuleFinished() {
  // The player stops itself once the song's end has been heard.
  if (!modulePlayer || !modulePlayer->IsPlaying()) return true;
  return modulePlayer->IsFinished();
}

void CMainFrame::NoteMciStarted(const std::string& fileName, bool loop) {
  mciLoop = loop;
  mciActive = true;
  mciFileName = fileName;
  mciPlaying = true;
}

void CMainFrame::ClearMci() {
  mciActive = false;
  mciLoop = false;
  mciPlaying = false;
  mciFileName.clear();
}

void CMainFrame::SoundIdle() {
  // Minimised, sounds are neither replayed nor followed to the next slide.
  if (IsIconic() || !showWindow) return;
  if (moduleActive) {
    if (moduleLoop) {
      if (ModuleFinished() && showWindow->SoundFinished()) {
        modulePlayer->Rewind();
        modulePlayer->Play();
      }
    } else if (ModuleFinished()) {
      StopSound();
      showWindow->SoundFinished();
    }
  }
  if (mciActive) {
    if (mciLoop) {
      if (mciPlaying) return;
      // A copy: playing again clears and sets the name.
      std::string again = mciFileName;
      if (showWindow->SoundFinished()) PlayMci(again, true);
    } else if (!mciPlaying) {
      StopSound();
      showWindow->SoundFinished();
    }
  }
}

void CMainFrame::OnMciNotify(WPARAM, LPARAM device) {
  // Only the open device's end counts: a notification that was on its way
  // when its device was closed must not end the sound opened after it.
  if (MCIDEVICEID(device) == mciDeviceId) mciPlaying = false;
}

LRESULT CMainFrame::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MM_MCINOTIFY: OnMciNotify(wParam, lParam); return 0;
    // Hands the block back to the player that queued it, if that player
    // still exists, and frees it.
    case MM_WOM_DONE: ModWaveDone(wParam, lParam); return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}

}  // namespace pellora
