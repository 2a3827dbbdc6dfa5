// The module player: loads a tracker module into a ModSong, measures it,
// and plays it through the engine, the mixer and the platform's wave
// output, in blocks of ten ticks that cycle between the player and the
// device. The device hands each played block back to the owner window as
// MM_WOM_DONE; the window's handler passes it on with ModWaveDone.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "music/media_player.h"
#include "music/mod_engine.h"
#include "music/mod_mixer.h"
#include "music/mod_song.h"
#include "music/sample_store.h"
#include "platform/audio/wave_out.h"
#include "platform/storage/global_block.h"

namespace pellora {

class ModStream;

// The output format chosen at Open.
struct ModOutputFormat {
  uint16_t rate = 0;
  uint16_t channels = 0;
  uint16_t bits = 0;
  uint32_t flag = 0;  // the WAVE_FORMAT_* flag it came from
  bool IsEmpty() const { return rate == 0; }
};

// What a block carries back to its player.
struct ModBlockRecord {
  uint32_t session = 0;      // which Play the block belongs to
  uint32_t ticksPlayed = 0;  // engine ticks when it was queued
  uint64_t playedMs = 0;     // song time when it was queued
};

// Ticks of sound in one output block.
constexpr int kTicksPerBlock = 10;

class CModPlayer : public CMediaPlayer {
 public:
  explicit CModPlayer(HWND owner);
  ~CModPlayer() override;

  // Loads the song, chooses the output format, builds the mixing tables
  // and the output buffer and measures the song; false when the file is
  // not a module that can be loaded.
  bool Open(const std::string& fileName) override;
  // The same from the module file's bytes, which need not outlive the call.
  bool OpenBytes(std::span<const uint8_t> bytes);
  // Stops, then frees the song, its samples, the tables and the buffer.
  void Close() override;
  // Back to the start; playing again if it was.
  void Rewind() override;
  void SeekToEnd() override;
  bool Play() override;
  void Stop() override;
  void StopAndRewind() override;
  int GetDuration() override { return duration_; }
  int GetPosition() override { return engine_.GetPosition(); }
  // True once the song's end has been played to the last block (or,
  // without playing, once the engine is past its last position).
  bool IsFinished() override;
  std::string GetFileTitle() override;
  // The song's title or "(sans titre)", first letter in upper case;
  // empty without a song.
  std::string GetTitle() override;
  // "<format> - <size> Ko"; empty without a song.
  std::string GetSizeText() override;
  // The French report on the song; empty without a song.
  std::string GetInfoText() override;
  void SeekTo(int seconds) override;

  // Blocks kept in the device at most; the presentation sets 40.
  uint32_t queueLimit = 0;
  // Asked before long work (loading samples, measuring, seeking): true
  // keeps the wait cursor away, as over the full-screen show. Unset: the
  // wait cursor shows.
  std::function<bool()> quietCursor;

  // A block the device has finished with.
  void BufferDone(const ModBlockRecord& record);

  // Where the sound goes: by default a device of the current backend.
  void SetWaveOutFactory(std::function<std::unique_ptr<WaveOut>()> factory);

  bool IsPlaying() const { return playing_; }
  uint32_t QueuedBlocks() const { return queued_; }
  const ModSong* Song() const { return song_.get(); }
  ModEngine& Engine() { return engine_; }
  const ModOutputFormat& OutputFormat() const { return format_; }
  uint32_t BytesPerTick() const { return bytesPerTick_; }

  // Lets blocks find their player while it exists.
  struct Anchor {
    CModPlayer* player;
  };

 private:
  // The rest of Open once the stream is open (null: it could not be).
  bool Load(ModStream* stream);
  bool ChooseFormat();
  bool SizeOutput(uint8_t tempo);
  bool ShowsWaitCursor() const { return !quietCursor || !quietCursor(); }
  void FillQueue();
  bool Submit(uint32_t bytes);

  std::shared_ptr<Anchor> anchor_;
  ModSampleStore store_;
  std::unique_ptr<ModSong> song_;
  int duration_ = 0;
  ModEngine engine_;
  ModMixer mixer_{store_};

  std::function<std::unique_ptr<WaveOut>()> waveOutFactory_;
  std::unique_ptr<WaveOut> device_;
  ModOutputFormat format_;
  GlobalBlock outputBuffer_;
  uint32_t bytesPerTick_ = 0;
  uint8_t bufferTempo_ = 125;  // the tempo the output buffer is sized for
  bool playing_ = false;
  uint32_t queued_ = 0;
  uint32_t session_ = 0;
};

// The MM_WOM_DONE handler of a module player's owner window: gives the
// block back to the player that queued it (when that player still exists)
// and frees it.
void ModWaveDone(WPARAM wParam, LPARAM lParam);

}  // namespace pellora
