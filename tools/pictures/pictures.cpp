#include "tools/pictures/pictures.h"

#include <algorithm>

#include "image/picture_readers.h"
#include "tools/pictures/codecs.h"
#include "tools/pictures/exif.h"
#include "tools/pictures/jpeg_turn.h"
#include "tools/pictures/transforms.h"

namespace pellora::pictures {
namespace {

struct Header {
  PictureProbe probe;
  StoredFacts facts;
  const Codec* codec = nullptr;
};

Header ReadHeader(std::span<const uint8_t> bytes) {
  Header header;
  PictureProbe& probe = header.probe;
  probe.format = RecogniseFormat(bytes);
  header.codec = CodecFor(probe.format);
  if (!header.codec) {
    probe.reason = "not a picture in a format pack reads (JPEG, PNG, WebP, HEIC, AVIF, TIFF, GIF or BMP)";
    return header;
  }
  if (!header.codec->facts) {
    probe.reason = std::string("this build reads no ") + FormatName(probe.format) + " pictures";
    return header;
  }
  if (!header.codec->facts(bytes, header.facts, probe.reason)) {
    if (probe.reason.empty()) probe.reason = std::string("damaged ") + FormatName(probe.format);
    return header;
  }
  ExifFacts exif = ReadExif(header.facts.exif);
  probe.dateTaken = exif.dateTaken;
  probe.orientation = header.facts.turnsItself ? 1 : header.facts.orientation ? header.facts.orientation : exif.orientation;
  bool swap = probe.orientation >= 5;
  probe.width = swap ? header.facts.height : header.facts.width;
  probe.height = swap ? header.facts.width : header.facts.height;
  return header;
}

// Decodes the stored bytes as the player will, for the picture and what
// the reader went past.
void ReadAsPlayer(ConvertedPicture& result) {
  const PictureReader* reader = PictureReaderFor(result.formatTag);
  PictureRead read = reader ? reader->read(result.bytes) : PictureRead{};
  if (!read.picture) {
    result.reason = read.reason.empty() ? "the player cannot read the stored picture" : read.reason;
    return;
  }
  result.picture = std::move(read.picture);
  if (result.warning.empty()) result.warning = read.warning;
}

}  // namespace

PictureProbe ProbePicture(std::span<const uint8_t> bytes) { return ReadHeader(bytes).probe; }

ConvertedPicture ConvertPicture(std::vector<uint8_t> bytes, const ConvertOptions& options) {
  ConvertedPicture result;
  Header header = ReadHeader(bytes);
  const PictureProbe& probe = header.probe;
  result.source = probe.format;
  if (!probe.Ok()) {
    result.reason = probe.reason;
    return result;
  }
  bool limited = options.maxWidth > 0 && options.maxHeight > 0;
  bool tooLarge = limited && (probe.width > options.maxWidth || probe.height > options.maxHeight);
  bool stored = probe.format == PictureFormat::Jpeg || probe.format == PictureFormat::Bmp;
  if (stored && probe.orientation == 1 && !tooLarge) {
    // Nothing to change: the file goes in byte for byte.
    result.formatTag = probe.format == PictureFormat::Jpeg ? "JPG" : "BMP";
    result.bytes = std::move(bytes);
    ReadAsPlayer(result);
    return result;
  }
  if (probe.format == PictureFormat::Jpeg && !tooLarge) {
    // Only turning: in the file's own blocks, when its size allows.
    std::vector<uint8_t> turned = TurnJpegLosslessly(bytes, probe.orientation);
    if (!turned.empty()) {
      result.bytes = std::move(turned);
      result.formatTag = "JPG";
      result.turned = result.turnedLosslessly = true;
      ReadAsPlayer(result);
      return result;
    }
  }
  int width = probe.width, height = probe.height;
  if (tooLarge) FitInside(probe.width, probe.height, options.maxWidth, options.maxHeight, width, height);
  bool swap = probe.orientation >= 5;
  HDIB picture;
  if (!header.codec->decode(bytes, swap ? height : width, swap ? width : height, picture, result.reason,
                            result.warning)) {
    if (result.reason.empty()) result.reason = std::string("damaged ") + FormatName(probe.format);
    return result;
  }
  if (probe.orientation != 1) {
    picture = TurnUpright(picture, probe.orientation);
    result.turned = true;
  }
  if (picture && (DIBWidth(picture.data()) != width || DIBHeight(picture.data()) != height)) {
    picture = ScaleDown(picture, width, height);
  }
  result.scaled = tooLarge;
  if (!picture) {
    result.reason = "not enough memory for the picture";
    return result;
  }
  result.converted = !stored;
  bool asBitmap = options.lossless && header.facts.lossless;
  result.formatTag = asBitmap ? "BMP" : "JPG";
  result.bytes = asBitmap ? EncodeBmp(picture) : EncodeJpeg(picture, options.quality);
  if (result.bytes.empty()) {
    result.reason = "cannot store the picture";
    return result;
  }
  ReadAsPlayer(result);
  return result;
}

}  // namespace pellora::pictures
