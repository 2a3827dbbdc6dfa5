// Show descriptions: the JSON file from which `pellora pack` builds a show.
// Paths in it are relative to the description file; every key is optional.
#pragma once

#include <memory>
#include <string>

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

// Builds the document a description describes, reading and embedding the
// files it names. Null with a message naming the fault when it cannot.
std::unique_ptr<CDiapoDoc> BuildShowFromDescription(const std::string& descriptionPath, std::string& error);

// "#RRGGBB" (or an integer COLORREF) to a COLORREF; false when malformed.
bool ParseColour(const std::string& text, uint32_t& colour);

// The three-letter picture format tag the player decodes a file by.
std::string PictureFormatTag(const std::string& fileName);

}  // namespace pellora::tools
