// The "stored" objects of a show description: the values a package holds
// exactly as it holds them, for what the other keys cannot express (the
// stored names, thumbnails, sizes and reserved words, texts with control
// characters, words outside the named choices). `pellora unpack` writes
// them so that packing its description gives back the same package; each
// one given wins over what pack would work out itself.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/storage/global_block.h"

namespace pellora {
class CDiapoDoc;
class CDiapoObject;
}  // namespace pellora

namespace pellora::tools {

struct StoredContext {
  // Reports a problem in the object (error or warning).
  std::function<void(bool error, const std::string& text)> problem;
  // The path of a file the object names, relative to the description.
  std::function<std::string(const std::string& given)> resolve;
};

// The keys of the show's and of a slide's "stored" object.
std::span<const std::string_view> StoredShowKeys();
std::span<const std::string_view> StoredSlideKeys();

// Sets the document's or the slide's members from the object.
void ApplyStoredShowValues(const nlohmann::json& stored, CDiapoDoc& document, const StoredContext& context);
void ApplyStoredSlideValues(const nlohmann::json& stored, CDiapoObject& slide, const StoredContext& context);

// A packed bitmap as a .bmp file (a file header before it) and back; the
// bitmap's bytes go through unchanged, whatever their header says.
std::string DibAsBmpFile(const GlobalBlock& dib);
bool DibFromBmpFile(const std::string& file, GlobalBlock& dib);

}  // namespace pellora::tools
