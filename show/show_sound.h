// CShowSound: the sound behind the show, and its only owner: the show's
// music (looping) and the slides' own sounds (once), given as a file name
// or as file bytes embedded in the package. Tracker modules go to the
// module player, every other file to the media control interface. Only one
// sound plays at a time. The main frame owns it (the devices' messages
// come to the frame's window) and lends it to the show window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/media_device.h"
#include "platform/storage/global_block.h"

namespace pellora {

class CModPlayer;
class CShowWnd;
class CWnd;

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

class CShowSound {
 public:
  // The devices report to notifyWindow (null: nowhere), read when a sound
  // starts.
  explicit CShowSound(const CWnd* notifyWindow);
  // Stops whatever plays, deletes the temporary file and releases the
  // module player.
  ~CShowSound();
  CShowSound(const CShowSound&) = delete;
  CShowSound& operator=(const CShowSound&) = delete;

  // Plays a sound file; loop plays it again whenever it ends.
  void PlaySoundFile(const std::string& name, bool loop);
  // Writes size bytes of block to a new temporary file carrying the
  // extension (the last three characters of the sound's own name) and
  // plays it; true when the sound was handed to playback.
  bool PlayEmbeddedSound(const GlobalBlock& block, uint32_t size, bool loop, const std::string& extension);
  // Stops whatever plays and deletes the temporary sound file.
  void StopSound();

  // The media control path.
  void PlayMci(const std::string& name, bool loop);
  void CloseMci();
  void NoteMciStarted(const std::string& fileName, bool loop);
  void ClearMci();
  // The open device has ended its sound.
  void OnMciNotify(MCIDEVICEID device);

  // Module music: loads and plays a module, stops it, and tells whether
  // none is audible any more.
  void StartModule(const std::string& fileName, bool loop);
  void StopModule();
  bool ModuleFinished();

  // Idle-time check for the end of the current sound: replays a looping
  // sound, or lets the show move on when its slide waits for the end.
  void SoundIdle(CShowWnd& show);
  // The show window that plays this sound (null: none); over it, starting
  // a sound shows no wait cursor.
  void SetShowWindow(const CShowWnd* show) { show_ = show; }

  MCIDEVICEID mciDeviceId = 0;  // the open media device; 0 = none
  bool soundIsModule = false;   // the last sound started by name went to the module player
  // Full name of the temporary file holding the embedded sound in use;
  // empty when there is none.
  std::string tempSoundFile;
  // The folder (with a trailing separator) embedded sounds are written to:
  // the player's tempDirectory. Empty: the system's temporary directory.
  std::string tempDirectory;
  bool moduleActive = false;  // a module was started and not stopped
  bool mciActive = false;     // a media sound was started and not stopped
  bool moduleLoop = false;    // the module plays again when it ends
  bool mciLoop = false;       // the media sound plays again when it ends
  bool mciPlaying = false;    // set at the start, cleared by the notification
  std::string mciFileName;    // the media sound, to play it again
  // Created for the first module and kept for the later ones.
  std::unique_ptr<CModPlayer> modulePlayer;

 private:
  // The file a sound's name means: our own temporary file as it is, a
  // name from the package as this system spells it.
  std::string SoundPath(const std::string& name) const;
  // The show window is up.
  bool ShowActive() const;

  const CWnd* notifyWindow_;
  const CShowWnd* show_ = nullptr;
};

}  // namespace pellora
