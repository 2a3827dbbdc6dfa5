// The module formats: one ModLoader per format, listed in kModLoaders in
// the order they are asked which one recognises a file.
#pragma once

#include <span>

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

struct ModLoader {
  const char* shortName;  // "MOD"
  const char* longName;   // "Module ProTracker"
  // True when the stream holds this format; false when it cannot read the
  // bytes it looks at.
  bool (*detect)(ModStream& stream);
  // Fills the staging song; false on a short read, a failed allocation or
  // a refused file. Scratch buffers are the function's own and go with it.
  bool (*load)(ModLoadContext& context);
};

// Each format's loader, defined in its own file.
extern const ModLoader k669Loader, kXmLoader, kStmLoader, kMtmLoader, kS3mLoader, kModLoader, kM15Loader;

// Every format in detection order: the formats with a signature first,
// the 15-sample MOD (which has none) last.
inline constexpr const ModLoader* kModLoaders[] = {&k669Loader, &kXmLoader,  &kStmLoader, &kMtmLoader,
                                                   &kS3mLoader, &kModLoader, &kM15Loader};

// The first loader of the list that recognises the stream, or null.
const ModLoader* DetectModFormat(std::span<const ModLoader* const> loaders, ModStream& stream);

}  // namespace pellora
