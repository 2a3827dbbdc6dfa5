#include "platform/headless/headless_wave_out.h"

#include "platform/headless/headless_backend.h"

namespace pellora {

HeadlessWaveOut::HeadlessWaveOut(HeadlessBackend& backend)
    : backend_(backend), state_(std::make_shared<State>()) {}

HeadlessWaveOut::~HeadlessWaveOut() { Close(); }

bool HeadlessWaveOut::Open(const WaveFormat& format, HWND owner) {
  if (state_->open || !Query(format)) return false;
  state_->open = true;
  state_->format = format;
  state_->owner = owner;
  state_->endMicros = 0;
  return true;
}

bool HeadlessWaveOut::IsOpen() const { return state_->open; }

bool HeadlessWaveOut::Write(std::unique_ptr<WaveHeader> header) {
  State& s = *state_;
  if (!s.open || !header || header->length > header->data.size()) return false;
  uint64_t start = std::max(s.endMicros, backend_.Now() * 1000);
  s.endMicros = start + uint64_t(header->length) * 1000000 / s.format.avgBytesPerSec;
  s.queue.push_back(std::move(header));
  std::weak_ptr<State> weak = state_;
  uint32_t generation = s.generation;
  HeadlessBackend* backend = &backend_;
  backend_.ScheduleAction((s.endMicros + 999) / 1000,
                          [backend, weak, generation] { Finish(*backend, weak, generation); });
  return true;
}

void HeadlessWaveOut::Finish(HeadlessBackend& backend, const std::weak_ptr<State>& weak, uint32_t generation) {
  std::shared_ptr<State> s = weak.lock();
  if (!s || s->generation != generation || s->queue.empty()) return;
  std::unique_ptr<WaveHeader> header = std::move(s->queue.front());
  s->queue.pop_front();
  if (backend.onWaveData) backend.onWaveData(s->format, header->data.data(), header->length);
  ReturnWaveHeader(s->owner, std::move(header));
}

void HeadlessWaveOut::Reset() {
  State& s = *state_;
  ++s.generation;
  s.endMicros = 0;
  std::deque<std::unique_ptr<WaveHeader>> pending;
  pending.swap(s.queue);
  for (auto& header : pending) ReturnWaveHeader(s.owner, std::move(header));
}

void HeadlessWaveOut::Close() {
  if (!state_->open) return;
  Reset();
  state_->open = false;
}

}  // namespace pellora
