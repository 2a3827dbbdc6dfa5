// WebP through libwebp (an animation through its demuxer, first frame).
#include <webp/decode.h>
#include <webp/demux.h>

#include <vector>

#include "tools/pictures/codecs.h"
#include "tools/pictures/exif.h"

namespace pellora::pictures {
namespace {

bool Features(std::span<const uint8_t> bytes, WebPBitstreamFeatures& features, std::string& reason) {
  if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
    reason = "damaged WebP";
    return false;
  }
  return SizeAllowed(uint64_t(features.width), uint64_t(features.height), bytes.size(), reason);
}

bool WebpFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  WebPBitstreamFeatures features;
  if (!Features(bytes, features, reason)) return false;
  facts.width = features.width;
  facts.height = features.height;
  std::span<const uint8_t> exif = FindWebpExif(bytes);
  facts.exif.assign(exif.begin(), exif.end());
  facts.lossless = features.format == 2 && !features.has_animation;
  return true;
}

bool FirstFrame(std::span<const uint8_t> bytes, HDIB& picture, std::string& reason) {
  WebPData data = {bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  WebPAnimInfo info;
  uint8_t* frame = nullptr;
  int timestamp = 0;
  if (decoder && WebPAnimDecoderGetInfo(decoder, &info) && WebPAnimDecoderGetNext(decoder, &frame, &timestamp))
    picture = PictureFromRgb(frame, int(info.canvas_width), int(info.canvas_height), size_t(info.canvas_width) * 4, 4);
  else
    reason = "damaged WebP animation";
  WebPAnimDecoderDelete(decoder);
  return bool(picture);
}

bool WebpDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string&) {
  WebPBitstreamFeatures features;
  if (!Features(bytes, features, reason)) return false;
  if (features.has_animation) return FirstFrame(bytes, picture, reason);
  size_t stride = size_t(features.width) * 4;
  std::vector<uint8_t> rows(stride * size_t(features.height));
  if (!WebPDecodeRGBAInto(bytes.data(), bytes.size(), rows.data(), rows.size(), int(stride))) {
    reason = "damaged WebP";
    return false;
  }
  picture = PictureFromRgb(rows.data(), features.width, features.height, stride, 4);
  if (!picture) reason = "not enough memory for the picture";
  return bool(picture);
}

}  // namespace

const Codec kWebpCodec = {PictureFormat::Webp, &WebpFacts, &WebpDecode};

}  // namespace pellora::pictures
