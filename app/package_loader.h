// Reading the show package out of the show file into the document, with
// the messages the viewer sees when that fails.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pellora {

class CDiapoDoc;

// The viewer's message for a package without the right magic.
inline constexpr char kLoadErrorMessage[] =
    "Erreur lors du chargement du fichier Diaporama. Le fichier est erroné, incompatible ou la version est "
    "incorrecte. Opération abandonnée.";
inline constexpr char kBadFormatMessage[] = "Unexpected file format.";
// %1 is the show file's title.
inline constexpr char kReadErrorMessage[] = "An unexpected error occurred while reading %1.";

enum class LoadResult { Loaded, CannotOpen, WrongMagic, BadFormat, ReadError };

// Reads the package at offset in path into document, without telling the
// viewer anything; message receives the text the viewer would see.
LoadResult ReadShowPackage(CDiapoDoc& document, const std::string& path, uint32_t offset, std::string& message);
// The same read from a package already in memory; name stands for the
// file in messages.
LoadResult ReadShowPackage(CDiapoDoc& document, std::span<const uint8_t> package, const std::string& name,
                           std::string& message);

// The player's start-up read: from the executable's path at the package's
// offset, with the wait cursor, telling the viewer of failures in message
// boxes. True when the document has been read.
bool LoadShowPackage(CDiapoDoc& document, const std::string& exePath, uint32_t packageOffset);

}  // namespace pellora
