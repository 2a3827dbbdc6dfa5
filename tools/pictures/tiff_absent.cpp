// A build without the library: the format is recognised, not read.
#include "tools/pictures/codecs.h"

namespace pellora::pictures {

const Codec kTiffCodec = {PictureFormat::Tiff, nullptr, nullptr};

}  // namespace pellora::pictures
