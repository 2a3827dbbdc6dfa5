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

WavWriter::~WavWriter() {
  file_.Close();
  if (!temp_.empty()) DeleteFileNormal(temp_);
}

bool WavWriter::Start(const WaveFormat& format) {
  if (!temp_.empty()) return false;
  size_t slash = target_.find_last_of('/');
  std::string dir = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  temp_ = CreateUniqueTempFile(dir, "." + FileTitle(target_) + ".");
  if (temp_.empty() || !file_.Open(temp_, CFile::Mode::ReadWrite)) return false;
  uint8_t header[kHeaderBytes];
  Header(header, format, 0);
  return file_.Write(header, sizeof(header));
}

bool WavWriter::Append(const uint8_t* data, size_t size) {
  if (!file_.IsOpen() || dataBytes_ + size > UINT32_MAX - 36) return false;
  if (!file_.Write(data, size)) return false;
  dataBytes_ += size;
  return true;
}

bool WavWriter::Commit() {
  if (!file_.IsOpen()) return false;
  uint8_t sizes[4];
  Put32(sizes, uint32_t(36 + dataBytes_));
  bool ok = file_.Seek(4, CFile::Origin::Begin) == 4 && file_.Write(sizes, 4);
  Put32(sizes, uint32_t(dataBytes_));
  ok = ok && file_.Seek(40, CFile::Origin::Begin) == 40 && file_.Write(sizes, 4);
  file_.Close();
  if (!ok || !SetPublicPermissions(temp_, false) || !RenameFile(temp_, target_)) return false;
  temp_.clear();
  return true;
}

}  // namespace pellora::tools
