// The output cycle of the module player: format choice, the device, and
// the blocks of ten ticks rendered whenever the device returns one.
#include <cstring>

#include "music/mod_player.h"
#include "platform/backend.h"

namespace pellora {
namespace {

struct FormatRow {
  uint32_t flag;
  uint16_t rate;
  uint16_t channels;
  uint16_t bits;
};

// Stereo before 16 bits, 16 bits before the higher rate.
const FormatRow kFormatPreference[12] = {
    {WAVE_FORMAT_4S16, 44100, 2, 16}, {WAVE_FORMAT_2S16, 22050, 2, 16}, {WAVE_FORMAT_1S16, 11025, 2, 16},
    {WAVE_FORMAT_4S08, 44100, 2, 8},  {WAVE_FORMAT_2S08, 22050, 2, 8},  {WAVE_FORMAT_1S08, 11025, 2, 8},
    {WAVE_FORMAT_4M16, 44100, 1, 16}, {WAVE_FORMAT_2M16, 22050, 1, 16}, {WAVE_FORMAT_1M16, 11025, 1, 16},
    {WAVE_FORMAT_4M08, 44100, 1, 8},  {WAVE_FORMAT_2M08, 22050, 1, 8},  {WAVE_FORMAT_1M08, 11025, 1, 8},
};

// A block on its way through the device, with the way back to its player.
struct ModBlockHeader : WaveHeader {
  std::weak_ptr<CModPlayer::Anchor> player;
  ModBlockRecord record;
};

}  // namespace

void CModPlayer::SetWaveOutFactory(std::function<std::unique_ptr<WaveOut>()> factory) {
  waveOutFactory_ = std::move(factory);
}

bool CModPlayer::ChooseFormat() {
  device_ = waveOutFactory_ ? waveOutFactory_() : CurrentBackend().CreateWaveOut();
  uint32_t supported = device_ ? device_->GetDevCaps() : 0;
  for (const FormatRow& row : kFormatPreference) {
    if (supported & row.flag) {
      format_ = {row.rate, row.channels, row.bits, row.flag};
      return true;
    }
  }
  return false;
}

bool CModPlayer::SizeOutput(uint8_t tempo) {
  uint32_t frames = uint16_t(TickLengthMs(tempo) * format_.rate / 1000);
  uint32_t bytesPerTick = frames * format_.channels * (format_.bits == 16 ? 2 : 1);
  GlobalBlock buffer = GlobalBlock::Allocate(size_t(kTicksPerBlock) * bytesPerTick, false);
  // Without the new buffer the old one stays, with the tick size it has.
  if (!buffer) return false;
  outputBuffer_ = std::move(buffer);
  bytesPerTick_ = bytesPerTick;
  bufferTempo_ = tempo;
  return true;
}

bool CModPlayer::Play() {
  if (playing_) return true;
  // Never mix without the tables or the buffer.
  if (!song_ || !device_ || format_.IsEmpty() || !mixer_.Ready() || !outputBuffer_) return false;
  if (!device_->IsOpen()) {
    WaveFormat wave = WaveFormat::Pcm(format_.rate, format_.channels, format_.bits);
    if (!device_->Query(wave) || !device_->Open(wave, ownerWindow)) return false;
  }
  playing_ = true;
  queued_ = 0;
  ++session_;
  FillQueue();
  return true;
}

void CModPlayer::Stop() {
  if (!playing_) return;
  playing_ = false;
  // The blocks still in the device come back as messages and are freed there.
  device_->Reset();
  device_->Close();
}

void CModPlayer::FillQueue() {
  if (!playing_) return;
  // Once the end is rendered nothing more is; the player stops when the
  // last block has been heard.
  if (engine_.IsFinished()) {
    if (queued_ == 0) Stop();
    return;
  }
  // A pass that cannot queue anything leaves nothing to come back: stop.
  auto giveUp = [this] {
    if (queued_ == 0) Stop();
  };
  while (queued_ < queueLimit && !engine_.IsFinished()) {
    uint32_t written = 0;
    for (int i = 0; i < kTicksPerBlock; ++i) {
      engine_.PlayTick(&mixer_);
      if (engine_.tempo != bufferTempo_) {
        // What the block holds so far goes out on its own before the
        // buffer takes the new tick size.
        if (!Submit(written) || !SizeOutput(engine_.tempo)) return giveUp();
        written = 0;
      }
      written += mixer_.MixTick(outputBuffer_.data() + written, bytesPerTick_);
    }
    if (!Submit(written)) return giveUp();
  }
}

bool CModPlayer::Submit(uint32_t bytes) {
  if (bytes == 0) return true;
  auto header = std::make_unique<ModBlockHeader>();
  header->data = GlobalBlock::Allocate(bytes, false);
  if (!header->data) return false;
  std::memcpy(header->data.data(), outputBuffer_.data(), bytes);
  header->length = bytes;
  header->player = anchor_;
  header->record = {session_, engine_.ticksPlayed, engine_.elapsedMs};
  // A block the device refuses is freed and not counted.
  if (!device_->Write(std::move(header))) return false;
  ++queued_;
  return true;
}

void CModPlayer::BufferDone(const ModBlockRecord& record) {
  // Blocks of an earlier Play were forgotten when it started again.
  if (record.session != session_) return;
  if (queued_ > 0) --queued_;
  if (!playing_) return;
  engine_.positionTicks = record.ticksPlayed;
  engine_.positionMs = record.playedMs;
  FillQueue();
}

void ModWaveDone(WPARAM, LPARAM lParam) {
  std::unique_ptr<WaveHeader> header = TakeReturnedWaveHeader(lParam);
  auto* block = dynamic_cast<ModBlockHeader*>(header.get());
  if (!block) return;
  if (std::shared_ptr<CModPlayer::Anchor> anchor = block->player.lock()) anchor->player->BufferDone(block->record);
}

}  // namespace pellora
