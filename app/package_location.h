// Finding the show package inside a file: a self-running show built by the
// pack tool (the offset sits in the player's slot), a bare package, or a
// 32-bit Windows self-running show (the package follows the last section's
// raw data).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pellora {

enum class ShowFileKind { Bare, SelfRunning, WindowsExecutable, Unknown };

struct PackageLocation {
  ShowFileKind kind = ShowFileKind::Unknown;
  uint32_t offset = 0;
};

// Where the package of a show file starts; nullopt when the file cannot be
// read. Unknown files give offset 0, where the reader will find no magic.
std::optional<PackageLocation> LocatePackage(const std::string& path);

// Finds a pack-tool slot in an executable image; its file offset.
std::optional<size_t> FindPackageSlot(const std::string& image);

}  // namespace pellora
