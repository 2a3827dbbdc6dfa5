// Why the player could not show or play a file a description names: pack
// warns with these reasons, since the player itself fails silently. The
// reasons are the picture readers' and the sound-file identification's.
#pragma once

#include <string>

namespace pellora::tools {

// What the player does with picture names that choose no reader.
inline constexpr char kPictureNamesDecoded[] = "the player decodes only names ending in .jpg, .jpeg, .bmp, .dib or .rle";

// Empty when the player decodes the picture file (by its name's format
// tag, as the player does); otherwise the reason, such as "truncated JPEG".
std::string PictureProblem(const std::string& path);

// Empty when the player can play the sound or music file (chosen by its
// name's extension, as the player does); otherwise the reason.
std::string SoundProblem(const std::string& path);

}  // namespace pellora::tools
