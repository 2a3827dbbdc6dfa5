// HEIC and AVIF through libheif, which applies the file's own rotation,
// mirroring and cropping; the EXIF orientation is then not applied again.
#include <libheif/heif.h>

#include <memory>
#include <vector>

#include "tools/pictures/codecs.h"

namespace pellora::pictures {
namespace {

struct Heif {
  heif_context* context = heif_context_alloc();
  heif_image_handle* handle = nullptr;
  heif_image* image = nullptr;
  std::vector<uint8_t> exif;
  ~Heif() {
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
  }
};

bool Failed(heif_error error, std::string& reason) {
  if (error.code == heif_error_Ok) return false;
  reason = std::string("damaged HEIF: ") + (error.message ? error.message : "unreadable");
  return true;
}

// The primary picture's handle; bytes must outlive it.
bool Open(std::span<const uint8_t> bytes, Heif& heif, std::string& reason) {
  if (!heif.context) {
    reason = "not enough memory for the picture";
    return false;
  }
  if (Failed(heif_context_read_from_memory_without_copy(heif.context, bytes.data(), bytes.size(), nullptr), reason) ||
      Failed(heif_context_get_primary_image_handle(heif.context, &heif.handle), reason))
    return false;
  return SizeAllowed(uint64_t(heif_image_handle_get_width(heif.handle)),
                     uint64_t(heif_image_handle_get_height(heif.handle)), bytes.size(), reason);
}

bool HeifFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  Heif heif;
  if (!Open(bytes, heif, reason)) return false;
  facts.width = heif_image_handle_get_width(heif.handle);
  facts.height = heif_image_handle_get_height(heif.handle);
  facts.turnsItself = true;
  // The EXIF block's data begins with the offset of its TIFF header. It
  // lies in the file, so its size is bounded by the file's.
  heif_item_id id;
  if (heif_image_handle_get_list_of_metadata_block_IDs(heif.handle, "Exif", &id, 1) == 1) {
    size_t size = heif_image_handle_get_metadata_size(heif.handle, id);
    if (size > 4 && size <= bytes.size()) {
      std::vector<uint8_t> block(size);
      if (heif_image_handle_get_metadata(heif.handle, id, block.data()).code == heif_error_Ok) {
        size_t skip = size_t(block[0]) << 24 | size_t(block[1]) << 16 | size_t(block[2]) << 8 | block[3];
        if (skip < size - 4) facts.exif.assign(block.begin() + 4 + long(skip), block.end());
      }
    }
  }
  return true;
}

bool HeifDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string&) {
  Heif heif;
  if (!Open(bytes, heif, reason)) return false;
  if (Failed(heif_decode_image(heif.handle, &heif.image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr),
             reason))
    return false;
  int stride = 0;
  const uint8_t* rows = heif_image_get_plane_readonly(heif.image, heif_channel_interleaved, &stride);
  int width = heif_image_get_width(heif.image, heif_channel_interleaved);
  int height = heif_image_get_height(heif.image, heif_channel_interleaved);
  if (!rows || width <= 0 || height <= 0 || stride < width * 4) {
    reason = "damaged HEIF: no picture";
    return false;
  }
  picture = PictureFromRgb(rows, width, height, size_t(stride), 4);
  if (!picture) reason = "not enough memory for the picture";
  return bool(picture);
}

}  // namespace

const Codec kHeifCodec = {PictureFormat::Heic, &HeifFacts, &HeifDecode};

}  // namespace pellora::pictures
