// Feeds arbitrary bytes to the module player: detection, loading, the
// duration, and rounds of playing a few blocks through the engine and the
// mixer with seeks and rewinds in between, in an output format picked
// from the input. The song time limit is lowered to a few seconds, so that
// the duration and every seek play at most a few thousand ticks in all;
// mixing, by far the dearest part, is held to two blocks a round (one the
// device takes, one it refuses), mostly at the lowest rate.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "music/mod_done_window.h"
#include "music/mod_player.h"
#include "platform/audio/wave_out_immediate.h"
#include "platform/headless/headless_backend.h"
#include "platform/ui/app.h"

namespace {
// At the fastest tempo a tick lasts 9 ms: about 900 ticks a pass.
constexpr uint64_t kPlayedSongMs = 8 * 1000;

// The one format the device offers. The rate changes only how many
// samples a tick holds, not the code that mixes them: the lowest rate
// (the first four flags) in three inputs of four keeps the mixing cheap.
uint32_t OutputFormatFlag(uint32_t mix) { return 1u << (mix % 4 != 0 ? (mix >> 2) % 4 : (mix >> 2) % 12); }
}  // namespace

// The player's code runs on the headless backend, as in the tests.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  CModDoneWindow window;
  if (!window.Create()) return 0;

  uint32_t mix = 0;
  for (size_t i = 0; i < size; i += 97) mix = mix * 31 + data[i];
  int blocksLeft = 0;
  CModPlayer player(window.m_hWnd);
  player.SetWaveOutFactory([&] {
    return std::make_unique<ImmediateWaveOut>(OutputFormatFlag(mix), [&](const WaveFormat&, const uint8_t*, size_t) {
      return --blocksLeft > 0;
    });
  });
  player.queueLimit = 1;
  player.Engine().songTimeLimitMs = kPlayedSongMs;
  if (!player.OpenBytes({data, size})) return 0;
  player.GetInfoText();
  player.GetTitle();
  player.GetSizeText();
  for (int round = 0; round < 4; ++round) {
    uint8_t choice = size ? data[(mix + round * 131) % size] : 0;
    blocksLeft = 2;
    if (player.Play()) RunModalLoop([&] { return player.IsPlaying(); });
    PumpWaitingMessages();
    switch (choice % 4) {
      case 0: player.SeekTo(choice % (kPlayedSongMs / 1000 + 2)); break;
      case 1: player.Rewind(); break;
      case 2: player.SeekToEnd(); break;
      default: break;
    }
    player.GetPosition();
  }
  player.Close();
  PumpWaitingMessages();
  return 0;
}
