#include "image/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/os/file.h"

namespace pellora {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf recovery;
};

// Fatal library errors return to the recovery point instead of ending the
// process.
void ReturnToRecoveryPoint(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->recovery, 1);
}

// Runs the whole compression between setjmp and the library calls; nothing
// with a destructor lives here, so the jump skips no clean-up. The output
// buffer belongs to the caller, who frees it.
bool Compress(jpeg_compress_struct* cinfo, ErrorManager* errors, int width, int height, const uint8_t* samples,
              int components, int quality, bool progressive, unsigned char** buffer, unsigned long* size) {
  cinfo->err = jpeg_std_error(&errors->pub);
  errors->pub.error_exit = ReturnToRecoveryPoint;
  if (setjmp(errors->recovery)) {
    jpeg_destroy_compress(cinfo);
    return false;
  }
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = JDIMENSION(width);
  cinfo->image_height = JDIMENSION(height);
  cinfo->input_components = components;
  cinfo->in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  size_t stride = size_t(width) * size_t(components);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples + size_t(cinfo->next_scanline) * stride);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
  return true;
}

}  // namespace

std::vector<uint8_t> CompressJpeg(int width, int height, const uint8_t* samples, int components, int quality,
                                  bool progressive) {
  if (width <= 0 || height <= 0 || !samples || (components != 1 && components != 3 && components != 4)) return {};
  jpeg_compress_struct cinfo;
  ErrorManager errors;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = Compress(&cinfo, &errors, width, height, samples, components, quality, progressive, &buffer, &size);
  std::vector<uint8_t> bytes;
  if (ok && buffer) bytes.assign(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

bool WriteJpegFile(const std::string& path, int width, int height, const uint8_t* samples, int components,
                   int quality, bool progressive) {
  std::vector<uint8_t> bytes = CompressJpeg(width, height, samples, components, quality, progressive);
  CFile file;
  return !bytes.empty() && file.Open(path, CFile::Mode::CreateWrite) && WriteInPieces(file, bytes.data(), bytes.size());
}

}  // namespace pellora
