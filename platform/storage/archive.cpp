#include "platform/storage/archive.h"

#include <algorithm>
#include <cstring>

#include "platform/base/byte_order.h"
#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora {
namespace {
const char* CauseText(CArchiveException::Cause cause) {
  switch (cause) {
    case CArchiveException::Cause::EndOfFile: return "archive: end of file";
    case CArchiveException::Cause::BadIndex: return "archive: bad index";
    case CArchiveException::Cause::BadClass: return "archive: bad class";
    case CArchiveException::Cause::BadSchema: return "archive: bad schema";
    default: return "archive: generic error";
  }
}
}  // namespace

CArchiveException::CArchiveException(Cause cause) : std::runtime_error(CauseText(cause)), cause_(cause) {}

CFileException::CFileException(std::string fileName)
    : std::runtime_error("read error: " + fileName), fileName_(std::move(fileName)) {}

CArchive::CArchive(CFile& file, Mode mode, size_t bufferSize)
    : mode_(mode), buffer_(bufferSize < 16 ? 16 : bufferSize) {
  file_ = &file;
  loadTable_.emplace_back();  // entry 0: the null pointer
}

CArchive::CArchive(std::span<const uint8_t> bytes) : mode_(Mode::Load), buffer_(512) {
  memory_ = bytes;
  loadTable_.emplace_back();
}

CArchive::CArchive(std::vector<uint8_t>& out) : mode_(Mode::Store), buffer_(512) {
  memoryOut_ = &out;
  loadTable_.emplace_back();
}

void CArchive::ThrowStreamError() const { throw CFileException(file_ ? file_->Path() : std::string("memory")); }

long long CArchive::ReadSource(void* buffer, size_t count) {
  if (file_) return file_->Read(buffer, count);
  size_t n = std::min(count, memory_.size() - memoryPosition_);
  if (n) std::memcpy(buffer, memory_.data() + memoryPosition_, n);
  memoryPosition_ += n;
  return static_cast<long long>(n);
}

bool CArchive::WriteSink(const void* buffer, size_t count) {
  if (file_) return WriteInPieces(*file_, static_cast<const uint8_t*>(buffer), count);
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  memoryOut_->insert(memoryOut_->end(), bytes, bytes + count);
  return true;
}

bool CArchive::SeekSource(long long offset) {
  if (file_) return file_->Seek(offset, CFile::Origin::Current) >= 0;
  long long target = static_cast<long long>(memoryPosition_) + offset;
  if (target < 0 || target > static_cast<long long>(memory_.size())) return false;
  memoryPosition_ = size_t(target);
  return true;
}

unsigned long long CArchive::SourceLeft() const {
  if (!file_) return memory_.size() - memoryPosition_;
  long long position = file_->Position();
  long long length = file_->Length();
  return (position >= 0 && length > position) ? (unsigned long long)(length - position) : 0;
}

CArchive::~CArchive() {
  if (!closed_ && mode_ == Mode::Store) {
    try {
      Flush();
    } catch (...) {
    }
  }
}

void CArchive::FillBuffer(size_t needed) {
  // Keep the unread bytes and top the buffer up from the file.
  size_t unread = end_ - begin_;
  std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
  begin_ = 0;
  end_ = unread;
  while (end_ < needed) {
    long long n = ReadSource(buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0) ThrowStreamError();
    if (n == 0) break;
    end_ += size_t(n);
  }
}

void CArchive::EnsureReadable(size_t count) {
  if (end_ - begin_ >= count) return;
  FillBuffer(count);
  if (end_ - begin_ < count) throw CArchiveException(CArchiveException::Cause::EndOfFile);
}

uint8_t CArchive::ReadByte() {
  EnsureReadable(1);
  return buffer_[begin_++];
}

uint16_t CArchive::ReadWord() {
  EnsureReadable(2);
  uint16_t v = GetU16LE(buffer_.data() + begin_);
  begin_ += 2;
  return v;
}

uint32_t CArchive::ReadDWord() {
  EnsureReadable(4);
  uint32_t v = GetU32LE(buffer_.data() + begin_);
  begin_ += 4;
  return v;
}

void CArchive::ReadExact(void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  // Large reads take what is buffered, then go straight to the stream; the
  // bytes handed out are the same.
  if (count > buffer_.size()) {
    size_t n = end_ - begin_;
    std::memcpy(out, buffer_.data() + begin_, n);
    begin_ = end_ = 0;
    out += n;
    count -= n;
    long long got = ReadSource(out, count);
    if (got < 0) ThrowStreamError();
    if (size_t(got) < count) throw CArchiveException(CArchiveException::Cause::EndOfFile);
    return;
  }
  while (count > 0) {
    if (begin_ == end_) {
      FillBuffer(1);
      if (begin_ == end_) throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
    size_t n = std::min(count, end_ - begin_);
    std::memcpy(out, buffer_.data() + begin_, n);
    begin_ += n;
    out += n;
    count -= n;
  }
}

void CArchive::Skip(unsigned long long count) {
  if (count > BytesLeft()) throw CArchiveException(CArchiveException::Cause::EndOfFile);
  size_t buffered = std::min<unsigned long long>(count, end_ - begin_);
  begin_ += buffered;
  if (count > buffered && !SeekSource(static_cast<long long>(count - buffered))) ThrowStreamError();
}

size_t CArchive::ReadLengthPrefix() {
  uint8_t b = ReadByte();
  if (b < 0xFF) return b;
  uint16_t w = ReadWord();
  if (w < 0xFFFE) return w;
  if (w == 0xFFFF) return ReadDWord();
  return SIZE_MAX;  // 0xFFFE: a 16-bit string follows
}

std::string CArchive::ReadString() {
  size_t length = ReadLengthPrefix();
  bool wide = length == SIZE_MAX;
  if (wide) {
    length = ReadLengthPrefix();
    if (length == SIZE_MAX) throw CArchiveException(CArchiveException::Cause::Generic);
  }
  size_t bytes = wide ? length * 2 : length;
  // Never allocate for more characters than the file still holds.
  if (bytes > BytesLeft()) throw CArchiveException(CArchiveException::Cause::EndOfFile);
  std::string raw(bytes, '\0');
  ReadExact(raw.data(), bytes);
  if (!wide) return raw;
  std::u16string units(length, u'\0');
  for (size_t i = 0; i < length; ++i)
    units[i] = char16_t(uint8_t(raw[2 * i]) | (uint8_t(raw[2 * i + 1]) << 8));
  return Utf16ToCp1252(units);
}

unsigned long long CArchive::BytesLeft() const { return SourceLeft() + (end_ - begin_); }

std::shared_ptr<CObject> CArchive::ReadObject() {
  using Cause = CArchiveException::Cause;
  uint16_t tag = ReadWord();
  if (tag == kNullTag) return nullptr;
  const CRuntimeClass* runtimeClass = nullptr;
  if (tag == kNewClassTag) {
    uint16_t schema = ReadWord();
    uint16_t nameLength = ReadWord();
    if (nameLength >= kMaxClassNameLength) throw CArchiveException(Cause::BadClass);
    std::string name(nameLength, '\0');
    ReadExact(name.data(), nameLength);
    if (loadTable_.size() > kMaxMapCount) throw CArchiveException(Cause::BadIndex);
    runtimeClass = FindClass(classes_, name);
    if (!runtimeClass || !runtimeClass->create) throw CArchiveException(Cause::BadClass);
    if (runtimeClass->schema != schema) throw CArchiveException(Cause::BadSchema);
    loadTable_.push_back({runtimeClass, nullptr});
  } else if (tag & kClassTag) {
    uint32_t index = tag & 0x7FFF;
    if (index >= loadTable_.size()) throw CArchiveException(Cause::BadIndex);
    runtimeClass = loadTable_[index].runtimeClass;
    if (!runtimeClass) throw CArchiveException(Cause::BadClass);
  } else {
    if (tag >= loadTable_.size()) throw CArchiveException(Cause::BadIndex);
    const LoadEntry& entry = loadTable_[tag];
    if (!entry.object) throw CArchiveException(Cause::BadClass);
    return entry.object;
  }
  std::shared_ptr<CObject> object = runtimeClass->create();
  loadTable_.push_back({nullptr, object});
  object->Serialize(*this);
  return object;
}

void CArchive::Write(const void* data, size_t count) {
  auto* in = static_cast<const uint8_t*>(data);
  // Large writes (embedded files) go straight to the stream after what is
  // buffered.
  if (count > buffer_.size()) {
    Flush();
    if (!WriteSink(in, count)) ThrowStreamError();
    return;
  }
  while (count > 0) {
    if (end_ == buffer_.size()) Flush();
    size_t n = std::min(count, buffer_.size() - end_);
    std::memcpy(buffer_.data() + end_, in, n);
    end_ += n;
    in += n;
    count -= n;
  }
}

void CArchive::WriteByte(uint8_t value) { Write(&value, 1); }

void CArchive::WriteWord(uint16_t value) {
  uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
  Write(b, 2);
}

void CArchive::WriteDWord(uint32_t value) {
  uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  Write(b, 4);
}

void CArchive::WriteString(const std::string& text) {
  size_t n = text.size();
  if (n < 0xFF) {
    WriteByte(uint8_t(n));
  } else if (n < 0xFFFE) {
    WriteByte(0xFF);
    WriteWord(uint16_t(n));
  } else {
    WriteByte(0xFF);
    WriteWord(0xFFFF);
    WriteDWord(uint32_t(n));
  }
  Write(text.data(), n);
}

void CArchive::WriteObject(const CObject* object) {
  if (!object) {
    WriteWord(kNullTag);
    return;
  }
  if (auto it = storeMap_.find(object); it != storeMap_.end()) {
    WriteWord(uint16_t(it->second));
    return;
  }
  const CRuntimeClass* runtimeClass = object->GetRuntimeClass();
  if (auto it = storeMap_.find(runtimeClass); it != storeMap_.end()) {
    WriteWord(uint16_t(kClassTag | it->second));
  } else {
    WriteWord(kNewClassTag);
    WriteWord(runtimeClass->schema);
    size_t nameLength = std::strlen(runtimeClass->className);
    WriteWord(uint16_t(nameLength));
    Write(runtimeClass->className, nameLength);
    storeMap_[runtimeClass] = storeCount_++;
  }
  storeMap_[object] = storeCount_++;
  const_cast<CObject*>(object)->Serialize(*this);
}

void CArchive::Flush() {
  if (mode_ == Mode::Store) {
    if (end_ > 0 && !WriteSink(buffer_.data(), end_)) ThrowStreamError();
    end_ = 0;
    return;
  }
  size_t unread = end_ - begin_;
  if (unread > 0 && !SeekSource(-static_cast<long long>(unread))) ThrowStreamError();
  begin_ = end_ = 0;
}

void CArchive::Close() {
  if (!closed_ && mode_ == Mode::Store) Flush();
  closed_ = true;
}

void CArchive::Abort() {
  begin_ = end_ = 0;
  closed_ = true;
}

}  // namespace pellora
