#include "music/mod_player.h"

#include <algorithm>

#include "music/mod_loader.h"
#include "music/mod_stream.h"
#include "music/mod_wait_cursor.h"
#include "music/song_loading.h"
#include "platform/os/file.h"

namespace pellora {
namespace {

// Upper case in the system's code page (Windows-1252).
char ToUpperCp1252(char c) {
  uint8_t u = uint8_t(c);
  if (u >= 'a' && u <= 'z') return char(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return char(u - 32);
  switch (u) {
    case 0x9A: return char(0x8A);
    case 0x9C: return char(0x8C);
    case 0x9E: return char(0x8E);
    case 0xFF: return char(0x9F);
    default: return c;
  }
}

}  // namespace

CModPlayer::CModPlayer(HWND owner) : CMediaPlayer(owner), anchor_(std::make_shared<Anchor>(Anchor{this})) {}

CModPlayer::~CModPlayer() { Close(); }

bool CModPlayer::Open(const std::string& name) {
  Close();
  CMediaPlayer::Open(name);
  ModStream stream;
  return Load(stream.Open(name) ? &stream : nullptr);
}

bool CModPlayer::OpenBytes(std::span<const uint8_t> bytes) {
  Close();
  CMediaPlayer::Open({});
  fileSize = uint32_t(std::min<size_t>(bytes.size(), UINT32_MAX));
  ModStream stream;
  stream.Open(bytes);
  return Load(&stream);
}

bool CModPlayer::Load(ModStream* stream) {
  auto song = std::make_unique<ModSong>();
  bool loaded = stream && LoadModSong(*stream, kModLoaders, store_, *song, ShowsWaitCursor());
  if (!loaded) {
    isOpen = false;
    return false;
  }
  song_ = std::move(song);
  ChooseFormat();
  mixer_.Configure(format_.rate, format_.channels, format_.bits, song_->channelCount);
  mixer_.ResetVoices();
  SizeOutput(bufferTempo_);
  engine_.StartSong(song_.get());
  {
    ModWaitCursor wait(ShowsWaitCursor());
    duration_ = engine_.MeasureDuration();
  }
  engine_.ResetEngine();
  return true;
}

void CModPlayer::Close() {
  Stop();
  if (isOpen) {
    outputBuffer_.Free();
    mixer_.Release();
    mixer_.ResetVoices();
    engine_.StartSong(nullptr);
    if (song_) ReleaseSongSamples(*song_, store_);
    song_.reset();
    device_.reset();
    duration_ = 0;
  }
  CMediaPlayer::Close();
}

void CModPlayer::Rewind() {
  if (!song_) return;
  bool wasPlaying = playing_;
  Stop();
  engine_.ResetEngine();
  // Voices of the old position would otherwise sound on into the new one.
  mixer_.ResetVoices();
  if (wasPlaying) Play();
}

void CModPlayer::SeekTo(int seconds) {
  if (!song_) return;
  {
    ModWaitCursor wait(ShowsWaitCursor());
    engine_.SeekTo(seconds);
  }
  mixer_.ResetVoices();
}

void CModPlayer::SeekToEnd() { SeekTo(duration_); }

void CModPlayer::StopAndRewind() {
  Stop();
  Rewind();
}

bool CModPlayer::IsFinished() { return engine_.IsFinished() && !playing_; }

std::string CModPlayer::GetFileTitle() { return FileTitle(fileName); }

std::string CModPlayer::GetTitle() {
  if (!song_) return {};
  std::string title = song_->songName.value_or("(sans titre)");
  if (!title.empty()) title[0] = ToUpperCp1252(title[0]);
  return title;
}

std::string CModPlayer::GetSizeText() {
  if (!song_) return {};
  return song_->formatName.value_or("") + " - " + std::to_string(fileSize / 1024) + " Ko";
}

}  // namespace pellora
