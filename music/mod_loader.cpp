#include "music/mod_loader.h"

#include <algorithm>

namespace pellora {
namespace {

std::vector<const ModLoader*>& Registered() {
  static std::vector<const ModLoader*> loaders;
  return loaders;
}

}  // namespace

ModLoaderRegistration::ModLoaderRegistration(const ModLoader& loader) { Registered().push_back(&loader); }

std::vector<const ModLoader*> LinkModLoaders() {
  // Static registration runs in no particular order; the link order is
  // the loaders' own.
  std::vector<const ModLoader*> byLink = Registered();
  std::stable_sort(byLink.begin(), byLink.end(),
                   [](const ModLoader* a, const ModLoader* b) { return a->linkOrder < b->linkOrder; });
  std::vector<const ModLoader*> list;
  for (const ModLoader* loader : byLink) list.insert(list.begin(), loader);
  return list;
}

const ModLoader* DetectModFormat(const std::vector<const ModLoader*>& loaders, ModStream& stream) {
  for (const ModLoader* loader : loaders)
    if (loader->detect(stream)) return loader;
  return nullptr;
}

}  // namespace pellora
