#include "platform/draw/png_writer.h"

#include <png.h>

#include <vector>

#include "platform/draw/surface.h"
#include "platform/os/file.h"
#include "platform/os/pending_file.h"

namespace pellora {
namespace {

void WriteToFile(png_structp png, png_bytep data, png_size_t size) {
  auto* file = static_cast<CFile*>(png_get_io_ptr(png));
  if (!file->Write(data, size)) png_error(png, "write failed");
}

void FlushNothing(png_structp) {}

// libpng reports fatal errors through longjmp; keep every object with a
// destructor out of the function that calls setjmp.
bool WriteRows(CFile* file, int width, int height, png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, file, &WriteToFile, &FlushNothing);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

bool WritePngRgb(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride) {
  if (width <= 0 || height <= 0 || !OutputRefusal(path).empty()) return false;
  // Written beside the target and renamed over it: a link planted at the
  // name is replaced, never followed.
  PendingFile file(path);
  if (!file.File().IsOpen()) return false;
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[size_t(y)] = const_cast<png_bytep>(rgb + size_t(y) * stride);
  return WriteRows(&file.File(), width, height, rows.data()) && file.Commit(false);
}

bool WritePng(const std::string& path, const Surface& surface) {
  std::vector<uint8_t> rgb(size_t(surface.width()) * surface.height() * 3);
  for (int y = 0; y < surface.height(); ++y) {
    const uint32_t* row = surface.Row(y);
    uint8_t* out = rgb.data() + size_t(y) * surface.width() * 3;
    for (int x = 0; x < surface.width(); ++x) {
      out[3 * x] = uint8_t(row[x] >> 16);
      out[3 * x + 1] = uint8_t(row[x] >> 8);
      out[3 * x + 2] = uint8_t(row[x]);
    }
  }
  return WritePngRgb(path, surface.width(), surface.height(), rgb.data(), size_t(surface.width()) * 3);
}

}  // namespace pellora
