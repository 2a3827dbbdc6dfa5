#include "music/track.h"

#include <algorithm>

namespace pellora {

TrackWriter::TrackWriter() { buffer_.reserve(128); }

void TrackWriter::BeginTrack() {
  buffer_.clear();
  hasPrevious_ = false;
  rowStart_ = 0;
  buffer_.push_back(0);
}

void TrackWriter::PutByte(uint8_t value) {
  if (buffer_.size() - rowStart_ >= kMaxTrackRecord) return;
  buffer_.push_back(value);
}

void TrackWriter::PutNote(uint8_t note) { PutCommand(TRK_NOTE, note); }

void TrackWriter::PutInstrument(uint8_t sample) { PutCommand(TRK_INSTRUMENT, sample); }

void TrackWriter::PutEffect(uint8_t effect, uint8_t parameter) {
  if (effect != 0 || parameter != 0) PutCommand(uint8_t(TRK_PT_0 + (effect & 0x0F)), parameter);
}

void TrackWriter::PutCommand(uint8_t opcode, uint8_t parameter) {
  // Both bytes or neither, so that a full record never ends inside an opcode.
  if (buffer_.size() - rowStart_ + 2 > kMaxTrackRecord) return;
  PutByte(opcode);
  PutByte(parameter);
}

void TrackWriter::EndRow() {
  size_t length = buffer_.size() - rowStart_;
  bool same = hasPrevious_ && buffer_[previous_] < 224 && size_t(buffer_[previous_] & 31) == length &&
              std::equal(buffer_.begin() + long(previous_) + 1, buffer_.begin() + long(previous_ + length),
                         buffer_.begin() + long(rowStart_) + 1);
  if (same) {
    buffer_[previous_] = uint8_t(buffer_[previous_] + 32);
    buffer_.resize(rowStart_);
  } else {
    buffer_[rowStart_] = uint8_t(length);
    previous_ = rowStart_;
    hasPrevious_ = true;
  }
  rowStart_ = buffer_.size();
  buffer_.push_back(0);
}

std::vector<uint8_t> TrackWriter::EndTrack() {
  buffer_.resize(rowStart_ + 1);
  buffer_[rowStart_] = 0;
  return buffer_;
}

namespace {

// Walks the records from the one at offset to the one holding `row`, which
// counts from that first record; rowsLeft gets the record's rows after it.
const uint8_t* Walk(const std::vector<uint8_t>& track, size_t& offset, uint32_t& row, uint32_t& rowsLeft) {
  while (offset < track.size()) {
    uint8_t header = track[offset];
    size_t length = header & 31;
    if (header == 0 || length == 0 || offset + length > track.size()) return nullptr;
    uint32_t rows = uint32_t(header >> 5) + 1;
    if (row < rows) {
      rowsLeft = rows - 1 - row;
      return &track[offset];
    }
    row -= rows;
    offset += length;
  }
  return nullptr;
}

}  // namespace

const uint8_t* LookupRow(const std::vector<uint8_t>& track, uint32_t row) {
  size_t offset = 0;
  uint32_t left = 0;
  return Walk(track, offset, row, left);
}

const uint8_t* TrackCursor::Lookup(const std::vector<uint8_t>& track, uint32_t row) {
  if (track_ == &track && row == row_ + 1 && row_ != UINT32_MAX && offset_ < track.size()) {
    row_ = row;
    if (rowsLeft_ > 0) {
      --rowsLeft_;
      return &track[offset_];
    }
    offset_ += track[offset_] & 31;
    uint32_t relative = 0;
    const uint8_t* record = Walk(track, offset_, relative, rowsLeft_);
    if (!record) track_ = nullptr;
    return record;
  }
  size_t offset = 0;
  uint32_t relative = row;
  uint32_t left = 0;
  const uint8_t* record = Walk(track, offset, relative, left);
  track_ = record ? &track : nullptr;
  row_ = row;
  offset_ = offset;
  rowsLeft_ = left;
  return record;
}

}  // namespace pellora
