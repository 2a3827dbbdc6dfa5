#include "tests/support/test_support.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/draw/palette.h"
#include "platform/draw/screen.h"
#include "platform/os/environment.h"
#include "platform/os/file.h"
#include "platform/ui/window_manager.h"

namespace pellora::test {

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() / ("pellora-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) saved_ = old;
  ChangeEnvironment(name, value);
}

ScopedEnv::~ScopedEnv() { ChangeEnvironment(name_, saved_); }

ScopedTempFolder::ScopedTempFolder(const std::string& folder)
    : tmpdir_("TMPDIR", folder), tmp_("TMP", folder), temp_("TEMP", folder) {}

std::filesystem::path CorpusDir() {
  std::filesystem::path dir = PELLORA_CORPUS_DIR;
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

std::string BinDir() { return PELLORA_BIN_DIR; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

RunResult Run(const std::string& commandLine) {
  TempDir scratch;
  std::string out = scratch.File("out"), err = scratch.File("err");
  std::string full = "( " + commandLine + " ) >'" + out + "' 2>'" + err + "'";
  int raw = std::system(full.c_str());
  RunResult r;
  // std::system returns the shell's wait status.
  r.status = (raw != -1 && (raw & 0x7F) == 0) ? (raw >> 8) & 0xFF : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

Bytes& Bytes::Byte(uint8_t v) {
  data_ += char(v);
  return *this;
}
Bytes& Bytes::Word(uint16_t v) { return Byte(uint8_t(v)).Byte(uint8_t(v >> 8)); }
Bytes& Bytes::DWord(uint32_t v) { return Word(uint16_t(v)).Word(uint16_t(v >> 16)); }
Bytes& Bytes::Raw(const std::string& s) {
  data_ += s;
  return *this;
}
Bytes& Bytes::String(const std::string& s) {
  if (s.size() < 0xFF) Byte(uint8_t(s.size()));
  else if (s.size() < 0xFFFE) Byte(0xFF).Word(uint16_t(s.size()));
  else Byte(0xFF).Word(0xFFFF).DWord(uint32_t(s.size()));
  return Raw(s);
}
Bytes& Bytes::Blob(const std::string& bytes) { return DWord(uint32_t(bytes.size())).Raw(bytes); }

std::string SmallDib(int width, int height, int bitCount) {
  Bytes b;
  uint32_t colours = bitCount <= 8 ? (1u << bitCount) : 0;
  size_t stride = size_t((bitCount * width + 31) / 32 * 4);
  b.DWord(40).DWord(uint32_t(width)).DWord(uint32_t(height)).Word(1).Word(uint16_t(bitCount)).DWord(0);
  b.DWord(uint32_t(stride * size_t(height))).DWord(0).DWord(0).DWord(colours).DWord(0);
  for (uint32_t i = 0; i < colours; ++i) b.Byte(uint8_t(i * 7)).Byte(uint8_t(i * 3)).Byte(uint8_t(i)).Byte(0);
  for (size_t i = 0; i < stride * size_t(height); ++i) b.Byte(uint8_t(i * 13));
  return b.str();
}

void ResetPlatform() {
  WindowManager::Instance().Reset();
  SystemPalette::Instance().Reset();
  SetScreenDepthOverride(0);
}

}  // namespace pellora::test
