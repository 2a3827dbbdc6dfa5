// Turning a module file into a ModSong: detection, the format's loader,
// then the sample data of every non-empty sample, converted to signed
// 8-bit PCM in the player's sample store.
#pragma once

#include <span>

namespace pellora {

class ModSampleStore;
class ModStream;
struct ModLoader;
struct ModSample;
struct ModSong;

// Loads the song of an open stream with the first loader of the list that
// recognises it, showing the wait cursor while the samples load when
// waitCursor is true. On failure the song is left empty and no slot of the
// store stays taken.
bool LoadModSong(ModStream& stream, std::span<const ModLoader* const> loaders, ModSampleStore& store, ModSong& song,
                 bool waitCursor = true);

// Reads and converts one sample's data (seeking first when it has a file
// offset) into a new slot. The file may hold less than `length` frames:
// the sample is then shortened to what is there, down to nothing. False
// when no slot or no memory is left.
bool LoadSampleData(ModStream& stream, ModSample& sample, ModSampleStore& store);

// Gives back the slots a song's samples hold.
void ReleaseSongSamples(ModSong& song, ModSampleStore& store);

}  // namespace pellora
