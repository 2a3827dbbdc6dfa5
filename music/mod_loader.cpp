#include "music/mod_loader.h"

namespace pellora {

const ModLoader* DetectModFormat(std::span<const ModLoader* const> loaders, ModStream& stream) {
  for (const ModLoader* loader : loaders)
    if (loader->detect(stream)) return loader;
  return nullptr;
}

}  // namespace pellora
