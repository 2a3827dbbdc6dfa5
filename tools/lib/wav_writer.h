// A WAV file written safely: the bytes go to a new owner-only file beside
// the target, which Commit completes and renames into place; without a
// commit the temporary file is removed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/wave_out.h"
#include "platform/os/pending_file.h"

namespace pellora::tools {

class WavWriter {
 public:
  explicit WavWriter(std::string target);
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // Creates the temporary file and writes the header for the format.
  bool Start(const WaveFormat& format);
  // Appends PCM; false when it cannot be written or the file would pass
  // the format's 4 GB limit.
  bool Append(const uint8_t* data, size_t size);
  // Fills in the sizes and puts the file in place.
  bool Commit();

 private:
  std::string target_;
  std::unique_ptr<PendingFile> file_;
  uint64_t dataBytes_ = 0;
};

}  // namespace pellora::tools
