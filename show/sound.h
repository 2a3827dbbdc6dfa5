// The sound behind the show, as the show window starts and stops it: the
// show's music (looping) and the slides' own sounds (once), given as a file
// name or as file bytes embedded in the package. Tracker modules go to the
// main frame's module player, every other file to the media control
// interface. Only one sound plays at a time.
#pragma once

#include <cstdint>
#include <string>

#include "platform/global_block.h"
#include "platform/media_device.h"

namespace pellora {

// The open media device; 0 = none.
extern MCIDEVICEID mciDeviceId;
// True when the last sound started by name went to the module player.
extern bool soundIsModule;
// Full name of the temporary file holding the embedded sound in use;
// empty when there is none.
extern std::string tempSoundFile;

// File kinds by extension (the text after the last full stop, or the whole
// name without one, compared over its first three characters, two for XM,
// ignoring case).
enum : int {
  FILE_KIND_SHOW = 1,
  FILE_KIND_PICTURE = 2,
  FILE_KIND_VIDEO = 3,
  FILE_KIND_ANIMATION = 4,
  FILE_KIND_WAVE = 5,
  FILE_KIND_MIDI = 6,
  FILE_KIND_MODULE = 7,
  FILE_KIND_OTHER = -1,
};
int FileKind(const std::string& name);

// Plays a sound file; loop plays it again whenever it ends.
void PlaySoundFile(const std::string& name, bool loop);
// Writes size bytes of block to a new temporary file carrying the
// extension (the last three characters of the sound's own name) and plays
// it; true when the sound was handed to playback.
bool PlayEmbeddedSound(const GlobalBlock& block, uint32_t size, bool loop, const std::string& extension);
// Stops whatever plays and deletes the temporary sound file.
void StopSound();

// The media control path.
void PlayMci(const std::string& name, bool loop);
void CloseMci();

}  // namespace pellora
