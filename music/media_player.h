// The base of a playable media file: what every player keeps about its file
// (name, size, date, owner window) and the operations the presentation
// calls, with do-nothing defaults.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/types.h"

namespace pellora {

class CMediaPlayer {
 public:
  // owner: the window that receives the player's device messages.
  explicit CMediaPlayer(HWND owner) : ownerWindow(owner) {}
  virtual ~CMediaPlayer() = default;
  CMediaPlayer(const CMediaPlayer&) = delete;
  CMediaPlayer& operator=(const CMediaPlayer&) = delete;

  // Remembers the file, its size and last-write date; true.
  virtual bool Open(const std::string& fileName);
  virtual void Close() { isOpen = false; }
  virtual void Rewind() {}
  virtual void SeekToEnd() {}
  virtual bool Play() { return false; }
  virtual void Stop() {}
  virtual void StopAndRewind() {}
  virtual int GetDuration() { return 0; }
  virtual int GetPosition() { return 0; }
  virtual bool IsFinished() { return true; }
  virtual std::string GetFileTitle() { return {}; }
  virtual std::string GetTitle() { return {}; }
  virtual std::string GetSizeText() { return {}; }
  virtual std::string GetInfoText() { return {}; }
  virtual void SeekTo(int /*seconds*/) {}

  bool IsOpen() const { return isOpen; }

 protected:
  bool isOpen = false;
  std::string fileName;
  HWND ownerWindow = 0;
  uint32_t fileSize = 0;
  // Last write in the DOS layout: date (year - 1980) << 9 | month << 5 | day,
  // time hour << 11 | minute << 5 | second / 2.
  uint16_t fileDate = 0;
  uint16_t fileTime = 0;
};

}  // namespace pellora
