#include "tools/pictures/jpeg_turn.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <jpeglib.h>

#include "tools/pictures/jpeg_errors.h"

namespace pellora::pictures {
namespace {

// How the shown picture's blocks come from the stored ones. Shown (X, Y)
// comes from stored (x, y): with transpose, x runs along Y and y along X;
// flipX takes the stored x from the far edge, flipY the stored y.
struct Turn {
  bool transpose, flipX, flipY;
};
Turn TurnOf(int orientation) {
  switch (orientation) {
    case 2: return {false, true, false};
    case 3: return {false, true, true};
    case 4: return {false, false, true};
    case 5: return {true, false, false};
    case 6: return {true, false, true};
    case 7: return {true, true, true};
    case 8: return {true, true, false};
    default: return {false, false, false};
  }
}

// One block turned: coefficient (row v, column u) of the shown block.
// Mirroring a block's columns negates its odd columns, its rows its odd
// rows; transposing exchanges rows and columns.
void TurnBlock(const JCOEF* in, JCOEF* out, Turn turn) {
  for (int v = 0; v < DCTSIZE; ++v)
    for (int u = 0; u < DCTSIZE; ++u) {
      // The shown column u comes from stored x (transposed: stored y).
      int value = turn.transpose ? in[u * DCTSIZE + v] : in[v * DCTSIZE + u];
      bool negateColumn = turn.transpose ? turn.flipY : turn.flipX;
      bool negateRow = turn.transpose ? turn.flipX : turn.flipY;
      if ((negateColumn && (u & 1)) != (negateRow && (v & 1))) value = -value;
      out[v * DCTSIZE + u] = JCOEF(value);
    }
}

// Everything between setjmp and the library calls; nothing with a
// destructor lives here. The output buffer is the caller's to free.
bool Run(jpeg_decompress_struct* src, jpeg_compress_struct* dst, JpegErrors* errors, std::span<const uint8_t> bytes,
         Turn turn, unsigned char** buffer, unsigned long* size) {
  src->err = errors->Install();
  dst->err = &errors->pub;
  bool created = false;
  if (setjmp(errors->recovery)) {
    if (created) jpeg_destroy_compress(dst);
    jpeg_destroy_decompress(src);
    return false;
  }
  jpeg_create_decompress(src);
  src->mem->max_memory_to_use = 1L << 30;
  jpeg_mem_src(src, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(src, TRUE);
  // An edge that moves to the other side must be made of whole blocks
  // of every component, or its partial blocks would land inside.
  unsigned blockWidth = unsigned(src->max_h_samp_factor) * DCTSIZE, blockHeight = unsigned(src->max_v_samp_factor) * DCTSIZE;
  if ((turn.flipX && src->image_width % blockWidth) || (turn.flipY && src->image_height % blockHeight) ||
      src->num_components < 1 || src->num_components > MAX_COMPONENTS) {
    jpeg_destroy_decompress(src);
    return false;
  }
  jvirt_barray_ptr turned[MAX_COMPONENTS];
  for (int c = 0; c < src->num_components; ++c) {
    const jpeg_component_info& comp = src->comp_info[c];
    JDIMENSION across = turn.transpose ? comp.height_in_blocks : comp.width_in_blocks;
    JDIMENSION down = turn.transpose ? comp.width_in_blocks : comp.height_in_blocks;
    int h = turn.transpose ? comp.v_samp_factor : comp.h_samp_factor;
    int v = turn.transpose ? comp.h_samp_factor : comp.v_samp_factor;
    turned[c] = (*src->mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(src), JPOOL_IMAGE, FALSE,
                                                  (across + JDIMENSION(h) - 1) / JDIMENSION(h) * JDIMENSION(h),
                                                  (down + JDIMENSION(v) - 1) / JDIMENSION(v) * JDIMENSION(v), JDIMENSION(v));
  }
  jvirt_barray_ptr* stored = jpeg_read_coefficients(src);
  for (int c = 0; c < src->num_components; ++c) {
    const jpeg_component_info& comp = src->comp_info[c];
    JDIMENSION w = comp.width_in_blocks, h = comp.height_in_blocks;
    JDIMENSION across = turn.transpose ? h : w, down = turn.transpose ? w : h;
    for (JDIMENSION Y = 0; Y < down; ++Y) {
      JBLOCKROW out = (*src->mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(src), turned[c], Y, 1, TRUE)[0];
      for (JDIMENSION X = 0; X < across; ++X) {
        JDIMENSION x = turn.transpose ? Y : X, y = turn.transpose ? X : Y;
        if (turn.flipX) x = w - 1 - x;
        if (turn.flipY) y = h - 1 - y;
        JBLOCKROW in = (*src->mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(src), stored[c], y, 1, FALSE)[0];
        TurnBlock(in[x], out[X], turn);
      }
    }
  }
  jpeg_create_compress(dst);
  created = true;
  jpeg_mem_dest(dst, buffer, size);
  jpeg_copy_critical_parameters(src, dst);
  if (turn.transpose) {
    std::swap(dst->image_width, dst->image_height);
    for (int c = 0; c < dst->num_components; ++c)
      std::swap(dst->comp_info[c].h_samp_factor, dst->comp_info[c].v_samp_factor);
    for (JQUANT_TBL* table : dst->quant_tbl_ptrs) {
      if (!table) continue;
      for (int v = 0; v < DCTSIZE; ++v)
        for (int u = v + 1; u < DCTSIZE; ++u) std::swap(table->quantval[v * DCTSIZE + u], table->quantval[u * DCTSIZE + v]);
    }
  }
  dst->optimize_coding = TRUE;
  jpeg_write_coefficients(dst, turned);
  jpeg_finish_compress(dst);
  jpeg_destroy_compress(dst);
  jpeg_finish_decompress(src);
  jpeg_destroy_decompress(src);
  return true;
}

}  // namespace

std::vector<uint8_t> TurnJpegLosslessly(std::span<const uint8_t> bytes, int orientation) {
  if (orientation < 2 || orientation > 8) return {};
  jpeg_decompress_struct src;
  jpeg_compress_struct dst;
  JpegErrors errors;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = Run(&src, &dst, &errors, bytes, TurnOf(orientation), &buffer, &size);
  std::vector<uint8_t> result;
  if (ok && buffer) result.assign(buffer, buffer + size);
  std::free(buffer);
  return result;
}

}  // namespace pellora::pictures
