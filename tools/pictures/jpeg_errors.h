// libjpeg's error handling for the pack-time JPEG work: its messages are
// never printed, and a fatal error returns to the caller's recovery point
// instead of ending the program.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace pellora::pictures {

struct JpegErrors {
  jpeg_error_mgr pub;
  std::jmp_buf recovery;

  // The manager to hand to a codec object; set recovery with setjmp
  // before the first library call.
  jpeg_error_mgr* Install() {
    jpeg_std_error(&pub);
    pub.error_exit = [](j_common_ptr cinfo) {
      std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->recovery, 1);
    };
    pub.emit_message = [](j_common_ptr, int) {};
    return &pub;
  }
};

}  // namespace pellora::pictures
