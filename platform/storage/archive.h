// The framework's archive: a buffered little-endian byte stream over a file
// (or over bytes in memory), with length-prefixed strings and tagged object
// references. Loading throws CArchiveException for format faults and
// CFileException for read errors.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/storage/object.h"

namespace pellora {

class CFile;

class CArchiveException : public std::runtime_error {
 public:
  enum class Cause { Generic, EndOfFile, BadIndex, BadClass, BadSchema };
  explicit CArchiveException(Cause cause);
  Cause cause() const { return cause_; }

 private:
  Cause cause_;
};

class CFileException : public std::runtime_error {
 public:
  explicit CFileException(std::string fileName);
  const std::string& fileName() const { return fileName_; }

 private:
  std::string fileName_;
};

class CArchive {
 public:
  enum class Mode { Load, Store };
  // Object tags of the stream encoding.
  static constexpr uint16_t kNullTag = 0x0000;
  static constexpr uint16_t kNewClassTag = 0xFFFF;
  static constexpr uint16_t kClassTag = 0x8000;
  static constexpr uint32_t kMaxMapCount = 0x7FFE;
  static constexpr size_t kMaxClassNameLength = 64;

  CArchive(CFile& file, Mode mode, size_t bufferSize = 512);
  // Loading from bytes that outlive the archive.
  explicit CArchive(std::span<const uint8_t> bytes);
  // Storing by appending to out, which outlives the archive.
  explicit CArchive(std::vector<uint8_t>& out);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return mode_ == Mode::Load; }
  bool IsStoring() const { return mode_ == Mode::Store; }

  // Loading. Every read that finds fewer bytes than it needs throws
  // CArchiveException(EndOfFile).
  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadDWord();
  void ReadExact(void* buffer, size_t count);
  // Passes over count bytes; throws like a read when fewer are left.
  void Skip(unsigned long long count);
  std::string ReadString();
  // The classes the objects of this stream may be of (none until set).
  void SetClasses(ClassTable classes) { classes_ = classes; }
  // Reads one object reference; new objects are created from their class
  // and read with their own Serialize. Null for the null tag.
  std::shared_ptr<CObject> ReadObject();
  // Bytes the stream still holds: what is buffered plus the rest of the
  // file. Readers check lengths read from the stream against it before
  // allocating for them.
  unsigned long long BytesLeft() const;

  // Storing.
  void WriteByte(uint8_t value);
  void WriteWord(uint16_t value);
  void WriteDWord(uint32_t value);
  void Write(const void* buffer, size_t count);
  void WriteString(const std::string& text);
  void WriteObject(const CObject* object);

  // Loading: gives back to the file the bytes buffered but not yet handed
  // out, so that the caller may read straight from the file; the next read
  // refills the buffer from there. Storing: writes out the buffer.
  void Flush();
  // Flushes a storing archive; both modes then stop using the file.
  void Close();
  // Drops buffered data without writing it.
  void Abort();

 private:
  void FillBuffer(size_t needed);
  void EnsureReadable(size_t count);
  size_t ReadLengthPrefix();
  // The stream under the buffer: the file, or the bytes in memory.
  long long ReadSource(void* buffer, size_t count);
  bool WriteSink(const void* buffer, size_t count);
  bool SeekSource(long long offset);
  unsigned long long SourceLeft() const;
  [[noreturn]] void ThrowStreamError() const;

  CFile* file_ = nullptr;
  std::span<const uint8_t> memory_;
  size_t memoryPosition_ = 0;
  std::vector<uint8_t>* memoryOut_ = nullptr;
  Mode mode_;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;  // next unread byte (loading) or first byte (storing)
  size_t end_ = 0;    // end of valid bytes
  bool closed_ = false;

  // Loading: entry 0 is null, then classes and objects in the order met.
  struct LoadEntry {
    const CRuntimeClass* runtimeClass = nullptr;
    std::shared_ptr<CObject> object;
  };
  std::vector<LoadEntry> loadTable_;
  ClassTable classes_;
  // Storing: index of each class and object already written.
  std::unordered_map<const void*, uint32_t> storeMap_;
  uint32_t storeCount_ = 1;
};

}  // namespace pellora
