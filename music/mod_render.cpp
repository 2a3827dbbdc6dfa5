#include "music/mod_render.h"

#include <memory>

#include "music/mod_done_window.h"
#include "music/mod_player.h"
#include "platform/ui/app.h"

namespace pellora {

uint32_t ModuleFormatFlag(const ModuleRenderFormat& f) {
  int rateIndex = f.rate == 11025 ? 0 : f.rate == 22050 ? 1 : f.rate == 44100 ? 2 : -1;
  if (rateIndex < 0 || (f.channels != 1 && f.channels != 2) || (f.bits != 8 && f.bits != 16)) return 0;
  // Each rate has a nibble: mono 8, stereo 8, mono 16, stereo 16 bits.
  int bit = (f.bits == 16 ? 2 : 0) + (f.channels == 2 ? 1 : 0);
  return uint32_t(1) << (4 * rateIndex + bit);
}

ModuleRenderResult RenderModule(const std::string& path, const ModuleRenderFormat& format,
                                const ImmediateWaveOut::Consumer& consumer) {
  ModuleRenderResult result;
  uint32_t flag = ModuleFormatFlag(format);
  if (!flag) {
    result.error = "unsupported output format";
    return result;
  }
  CModDoneWindow window;
  if (!window.Create()) {
    result.error = "cannot create the output window";
    return result;
  }
  CModPlayer player(window.m_hWnd);
  player.SetWaveOutFactory([&] { return std::make_unique<ImmediateWaveOut>(flag, consumer); });
  player.queueLimit = 40;
  if (!player.Open(path)) {
    result.error = "not a module the player can load";
    return result;
  }
  result.duration = player.GetDuration();
  if (!player.Play()) {
    result.error = "the module cannot be played";
    return result;
  }
  RunModalLoop([&] { return player.IsPlaying(); });
  // Blocks returned by the last stop are still on their way.
  PumpWaitingMessages();
  result.ok = true;
  return result;
}

}  // namespace pellora
