// The media device on MCI: Windows' own players for WAV (waveaudio), MIDI
// (sequencer), MP3 (mpegvideo) and whatever the system maps a file's
// extension to. Each device has a message-only window for MCI's end
// notification, which it passes on as the framework's MM_MCINOTIFY.
#pragma once

#include <memory>

#include "platform/audio/media_device.h"

namespace pellora {

std::unique_ptr<MediaDevice> CreateWin32MediaDevice();

}  // namespace pellora
