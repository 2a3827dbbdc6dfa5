#include "image/jpeg_reader.h"

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "image/dib_pixels.h"

namespace pellora {
namespace {

// Pictures beyond these sizes are refused before decoding: no more than
// kMaxPixels in all, and no more than kPixelsPerByte for each byte of the
// file beyond the first kFreePixels (JPEG compresses well, but a tiny file
// claiming a huge picture is not a photograph).
constexpr uint64_t kMaxPixels = uint64_t(128) << 20;
constexpr uint64_t kFreePixels = uint64_t(16) << 20;
constexpr uint64_t kPixelsPerByte = 1024;
// A JPEG file is read only this far; beyond it the picture ends early.
constexpr size_t kMaxFileBytes = size_t(512) << 20;
// Working memory the library may take for multi-scan pictures.
constexpr long kMaxLibraryMemory = 1L << 30;

// The library's error manager with the place to return to on a fatal
// error, and what the library said: its messages are kept for the reason
// or the warning, never written out.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf recovery;
  // The first warning's text, and whether the data ended before the
  // picture did (the library then reads on as if the file had its end).
  char warning[JMSG_LENGTH_MAX] = {};
  bool dataEnded = false;
  // How far the data went when it ended: rows of blocks read, of all.
  unsigned rowsRead = 0, rows = 0;
  // The fatal error's code and text.
  int fatalCode = 0;
  char fatal[JMSG_LENGTH_MAX] = {};
};

// Replaces emit_message: warnings are kept, trace messages dropped.
void KeepMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (cinfo->err->msg_code == JWRN_JPEG_EOF && !manager->dataEnded && cinfo->is_decompressor) {
    manager->dataEnded = true;
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    manager->rowsRead = decompress->input_iMCU_row;
    manager->rows = decompress->total_iMCU_rows;
  }
  if (cinfo->err->num_warnings++ == 0) (*cinfo->err->format_message)(cinfo, manager->warning);
}

// Replaces error_exit: keep the message, destroy the decompression object
// and go back to the recovery point of the function that called into the
// library.
[[noreturn]] void ReturnToRecoveryPoint(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  manager->fatalCode = cinfo->err->msg_code;
  (*cinfo->err->format_message)(cinfo, manager->fatal);
  jpeg_destroy(cinfo);
  std::longjmp(manager->recovery, -1);
}

// Why a file the library stopped on shows nothing.
std::string FatalReason(const ErrorManager& errors) {
  if (errors.fatalCode == JERR_NO_SOI) return "not a JPEG picture";
  if (errors.dataEnded || errors.fatalCode == JERR_INPUT_EMPTY) return "truncated JPEG";
  return std::string("damaged JPEG: ") + errors.fatal;
}

// What the library went past in a picture it decoded.
std::string WarningOf(const ErrorManager& errors) {
  if (errors.pub.num_warnings == 0) return {};
  if (errors.dataEnded) {
    unsigned percent = errors.rows ? unsigned(uint64_t(std::min(errors.rowsRead, errors.rows)) * 100 / errors.rows) : 0;
    return "truncated JPEG: the picture ends after " + std::to_string(percent) + " % of its rows";
  }
  return std::string("damaged JPEG: ") + errors.warning;
}

// The two functions below call into the library after setting their
// recovery point. Nothing with a destructor lives in them, so the jump
// back from the error manager skips no clean-up; on a fatal error the
// decompression object has already been destroyed.

// Reads the header and starts decompression; false after a fatal error or
// for a picture too large for its file (the object is then destroyed, and
// tooLarge set).
bool StartDecompression(jpeg_decompress_struct* cinfo, ErrorManager* errors, std::span<const uint8_t> bytes,
                        int reduction, bool* tooLarge) {
  cinfo->err = jpeg_std_error(&errors->pub);
  errors->pub.error_exit = ReturnToRecoveryPoint;
  errors->pub.emit_message = KeepMessage;
  if (setjmp(errors->recovery)) return false;
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxLibraryMemory;
  jpeg_mem_src(cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(cinfo, TRUE);
  uint64_t pixels = uint64_t(cinfo->image_width) * cinfo->image_height;
  if (cinfo->image_width > unsigned(kMaxPictureSide) || cinfo->image_height > unsigned(kMaxPictureSide) ||
      pixels > kMaxPixels || pixels > kFreePixels + bytes.size() * kPixelsPerByte) {
    *tooLarge = true;
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  cinfo->quantize_colors = FALSE;
  cinfo->scale_num = 1;
  cinfo->scale_denom = unsigned(reduction);
  switch (cinfo->jpeg_color_space) {
    case JCS_YCbCr:
    case JCS_RGB:
      // The library writes blue, green, red straight into the block's rows.
      cinfo->out_color_space = JCS_EXT_BGR;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo->out_color_space = JCS_CMYK;
      break;
    default:
      break;
  }
  jpeg_start_decompress(cinfo);
  return true;
}

// Writes one decoded line, as the library gave it, into a block row.
void ConvertLine(const jpeg_decompress_struct* cinfo, const JSAMPLE* line, uint8_t* out) {
  JDIMENSION width = cinfo->output_width;
  int components = cinfo->output_components;
  if (cinfo->out_color_space == JCS_CMYK && components == 4) {
    // Adobe's files store the inks inverted (0 = full ink); others store
    // them plainly. Each colour is what its ink and the black ink leave.
    bool inverted = cinfo->saw_Adobe_marker;
    for (JDIMENSION x = 0; x < width; ++x, line += 4, out += 3) {
      unsigned c = line[0], m = line[1], y = line[2], k = line[3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      out[0] = uint8_t((y * k + 127) / 255);
      out[1] = uint8_t((m * k + 127) / 255);
      out[2] = uint8_t((c * k + 127) / 255);
    }
    return;
  }
  // Greyscale (or any other layout): the first sample of each pixel as grey.
  for (JDIMENSION x = 0; x < width; ++x, line += components, out += 3) out[0] = out[1] = out[2] = line[0];
}

// Reads every line into its stored row (the first line is the top, the
// last stored row) and ends decompression. False after a fatal error that
// came before the last line.
bool ReadLines(jpeg_decompress_struct* cinfo, ErrorManager* errors, uint8_t* bits, size_t stride) {
  volatile bool complete = false;
  if (setjmp(errors->recovery)) return complete;
  bool direct = cinfo->out_color_space == JCS_EXT_BGR;
  JSAMPARRAY line = nullptr;
  if (!direct)
    line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                        cinfo->output_width * JDIMENSION(cinfo->output_components), 1);
  while (cinfo->output_scanline < cinfo->output_height) {
    uint8_t* row = bits + size_t(cinfo->output_height - 1 - cinfo->output_scanline) * stride;
    JSAMPROW target = direct ? row : line[0];
    if (jpeg_read_scanlines(cinfo, &target, 1) != 1) {
      jpeg_destroy_decompress(cinfo);
      return false;
    }
    if (!direct) ConvertLine(cinfo, line[0], row);
  }
  complete = true;
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return true;
}

bool IsJpeg(std::span<const uint8_t> head) {
  return head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

PictureRead Refused(std::string reason) { return {{}, std::move(reason), {}}; }

}  // namespace

PictureRead ReadJpeg(std::span<const uint8_t> bytes) { return ReadJpegReduced(bytes, 1); }

PictureRead ReadJpegReduced(std::span<const uint8_t> bytes, int reduction) {
  if (reduction != 1 && reduction != 2 && reduction != 4 && reduction != 8) return Refused("no such reduction");
  jpeg_decompress_struct cinfo;
  ErrorManager errors;
  bool tooLarge = false;
  if (!StartDecompression(&cinfo, &errors, bytes, reduction, &tooLarge)) {
    if (!tooLarge) return Refused(FatalReason(errors));
    return Refused("JPEG picture too large (" + std::to_string(cinfo.image_width) + " x " +
                   std::to_string(cinfo.image_height) + ")");
  }
  HDIB dib = CreateDIB(cinfo.output_width, int32_t(cinfo.output_height), 24);
  std::optional<DibLayout> layout = InspectDIB(dib);
  if (!layout) {
    jpeg_destroy_decompress(&cinfo);
    return Refused("not enough memory for the JPEG picture");
  }
  if (!ReadLines(&cinfo, &errors, dib.data() + layout->bitsOffset, layout->stride))
    return Refused(FatalReason(errors));
  return {std::move(dib), {}, WarningOf(errors)};
}

namespace {
constexpr const char* kJpegTypes[] = {"JPG"};
}  // namespace

const PictureReader kJpegReader = {"JPEG", kJpegTypes, &IsJpeg, &ReadJpeg, kMaxFileBytes};

HDIB ReadJpegFile(const std::string& path) { return ReadPictureFile(kJpegReader, path).picture; }

}  // namespace pellora
