// The registry of module formats. Each format's file registers one
// ModLoader at start-up; a player links the registered loaders into its
// own list, each at the head in link order, and asks them in list order
// which one recognises a file.
#pragma once

#include <vector>

namespace pellora {

class ModStream;
class TrackWriter;
struct ModSong;

// What a loader fills: the staging song, from the open stream, with the
// track writer for its patterns. Loaders position the stream themselves,
// check counts and lengths against what is left of the file before they
// allocate, and leave sample data to the common sample loading (which
// reads each non-empty sample at its fileOffset, or where the stream
// stands when that is 0, in sample order).
struct ModLoadContext {
  ModStream& stream;
  ModSong& song;
  TrackWriter& writer;
};

// Where a format is linked: each entry goes to the head of a player's
// list in this order, so the list (and detection) runs 669, XM, STM, MTM,
// S3M, MOD, M15.
enum ModLinkOrder : int { LINK_M15, LINK_MOD, LINK_S3M, LINK_MTM, LINK_STM, LINK_XM, LINK_669 };

struct ModLoader {
  ModLinkOrder linkOrder;
  const char* shortName;  // "MOD"
  const char* longName;   // "Module ProTracker"
  // True when the stream holds this format; false when it cannot read the
  // bytes it looks at.
  bool (*detect)(ModStream& stream);
  // Fills the staging song; false on a short read, a failed allocation or
  // a refused file. Scratch buffers are the function's own and go with it.
  bool (*load)(ModLoadContext& context);
};

// One static object per format file registers its loader.
class ModLoaderRegistration {
 public:
  explicit ModLoaderRegistration(const ModLoader& loader);
};

// The registered loaders in detection order.
std::vector<const ModLoader*> LinkModLoaders();

// The first loader of the list that recognises the stream, or null.
const ModLoader* DetectModFormat(const std::vector<const ModLoader*>& loaders, ModStream& stream);

}  // namespace pellora
