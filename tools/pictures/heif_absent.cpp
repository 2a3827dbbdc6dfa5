// A build without the library: the format is recognised, not read.
#include "tools/pictures/codecs.h"

namespace pellora::pictures {

const Codec kHeifCodec = {PictureFormat::Heic, nullptr, nullptr};

}  // namespace pellora::pictures
