// The sound behind the show, as the show window starts and stops it: the
// show's music (looping) and the slides' own sounds (once), given as a file
// name or as file bytes embedded in the package.
#pragma once

#include <cstdint>
#include <string>

#include "platform/global_block.h"

namespace pellora {

// Plays a sound file; loop plays it again whenever it ends.
void PlaySoundFile(const std::string& name, bool loop);
// Writes size bytes of block to a temporary file carrying the extension
// (the last three characters of the sound's own name) and plays it; true
// when the sound was handed to playback.
bool PlayEmbeddedSound(const GlobalBlock& block, uint32_t size, bool loop, const std::string& extension);
// Stops whatever plays and deletes the temporary sound file.
void StopSound();

}  // namespace pellora
