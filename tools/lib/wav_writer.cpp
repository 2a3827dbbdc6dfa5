#include "tools/lib/wav_writer.h"

#include <cstring>

namespace pellora::tools {
namespace {

constexpr size_t kHeaderBytes = 44;

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

void Header(uint8_t* h, const WaveFormat& f, uint32_t dataBytes) {
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, f.formatTag);
  Put16(h + 22, f.channels);
  Put32(h + 24, f.samplesPerSec);
  Put32(h + 28, f.avgBytesPerSec);
  Put16(h + 32, f.blockAlign);
  Put16(h + 34, f.bitsPerSample);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

}  // namespace

WavWriter::WavWriter(std::string target) : target_(std::move(target)) {}

bool WavWriter::Start(const WaveFormat& format) {
  if (file_) return false;
  file_ = std::make_unique<PendingFile>(target_);
  if (!file_->File().IsOpen()) return false;
  uint8_t header[kHeaderBytes];
  Header(header, format, 0);
  return file_->File().Write(header, sizeof(header));
}

bool WavWriter::Append(const uint8_t* data, size_t size) {
  if (!file_ || !file_->File().IsOpen() || dataBytes_ + size > UINT32_MAX - 36) return false;
  if (!file_->File().Write(data, size)) return false;
  dataBytes_ += size;
  return true;
}

bool WavWriter::Commit() {
  if (!file_ || !file_->File().IsOpen()) return false;
  CFile& file = file_->File();
  uint8_t sizes[4];
  Put32(sizes, uint32_t(36 + dataBytes_));
  bool ok = file.Seek(4, CFile::Origin::Begin) == 4 && file.Write(sizes, 4);
  Put32(sizes, uint32_t(dataBytes_));
  ok = ok && file.Seek(40, CFile::Origin::Begin) == 40 && file.Write(sizes, 4);
  return ok && file_->Commit(false);
}

}  // namespace pellora::tools
