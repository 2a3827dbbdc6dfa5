// pellora pack SHOW.json|PHOTOS_DIR -o OUT [--bare] [--target linux|windows] [--player PATH] [--strict] [--quiet]
//              [--max-size WxH] [--quality Q]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "document/diapo_doc.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/os/system.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/photo_folder.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {

namespace {

// "; pictures: 3 converted, 1 turned, 2 scaled, 20.5 MB saved", when any
// picture was changed.
std::string PictureSummary(const PictureTally& tally) {
  if (!tally.converted && !tally.turned && !tally.scaled) return {};
  char saved[48];
  double megabytes = (double(tally.sourceBytes) - double(tally.storedBytes)) / 1e6;
  std::snprintf(saved, sizeof saved, megabytes >= 0 ? "%.1f MB saved" : "%.1f MB added", std::abs(megabytes));
  return "; pictures: " + std::to_string(tally.converted) + " converted, " + std::to_string(tally.turned) +
         " turned, " + std::to_string(tally.scaled) + " scaled, " + saved;
}

// "packed 3 slides, 1.4 MB, music theme.xm (embedded) into show"
std::string Summary(const CDiapoDoc& document, const std::string& out, const PictureTally& tally) {
  std::error_code ec;
  double megabytes = double(std::filesystem::file_size(PathFromUtf8(out), ec)) / 1e6;
  char size[32];
  std::snprintf(size, sizeof size, "%.1f MB", ec ? 0.0 : megabytes);
  size_t slides = document.slides.size();
  std::string music = document.musicFileName.empty()
                          ? "no music"
                          : "music " + Cp1252ToUtf8(FileTitle(document.musicFileName)) +
                                (document.musicSize ? " (embedded)" : " (not embedded)");
  return "packed " + std::to_string(slides) + (slides == 1 ? " slide, " : " slides, ") + size + ", " + music +
         " into " + out + PictureSummary(tally);
}

}  // namespace

int RunPack(const std::vector<std::string>& args) {
  std::string description, out, player, target;
  bool bare = false, strict = false, quiet = false;
  ArgumentParser parser("pack", "SHOW.json");
  parser.Value({"-o", "--output"}, out).Value({"--player"}, player).Value({"--target"}, target).Flag("--bare", bare).Flag("--strict", strict);
  std::string maxSize, quality;
  parser.Flag("--quiet", quiet).Value({"--max-size"}, maxSize).Value({"--quality"}, quality);
  if (auto error = parser.Parse(args, description)) return Fail(kExitUsage, *error);
  PictureOverrides overrides;
  if (!maxSize.empty()) {
    int width = 0, height = 0;
    if (!ParsePictureSize(maxSize, width, height))
      return Fail(kExitUsage, "pack: --max-size must be a size like 1920x1080, not \"" + maxSize + "\"");
    overrides.maxWidth = width;
    overrides.maxHeight = height;
  }
  if (!quality.empty()) {
    bool digits = quality.size() <= 3 && std::all_of(quality.begin(), quality.end(), [](char c) { return c >= '0' && c <= '9'; });
    int q = digits ? std::stoi(quality) : 0;
    if (q < 1 || q > 100) return Fail(kExitUsage, "pack: --quality must be a whole number from 1 to 100, not \"" + quality + "\"");
    overrides.quality = q;
  }
  if (description.empty() || out.empty()) return Fail(kExitUsage, "pack: usage: pellora pack SHOW.json -o OUT");
  // A player given without a target makes a show for that player's system.
  bool checkPlayer = !target.empty();
  if (target.empty()) target = SystemName();
  if (std::find(std::begin(kTargets), std::end(kTargets), target) == std::end(kTargets))
    return Fail(kExitUsage, "pack: --target must be linux or windows, not \"" + target + "\"");
  // Everything is checked before anything is written. A folder of photos
  // is packed as `pellora new` describes it, without writing into it.
  DescriptionRead read;
  if (IsPhotoFolder(description)) {
    PhotoFolderShow show;
    std::string error;
    if (!DescribePhotoFolder(description, description, show, error)) return Fail(kExitBadFile, "pack: nothing written: " + error);
    for (const std::string& warning : show.warnings) std::fprintf(stderr, "pellora: pack: warning: %s\n", warning.c_str());
    read = ReadShowDescriptionText(PathToUtf8(PathFromUtf8(description) / "show.json"), show.description.dump(),
                                   overrides);
  } else {
    read = ReadShowDescription(description, overrides);
  }
  std::fputs(FormatProblems(description, read.problems).c_str(), stderr);
  if (!read.document) return Fail(kExitBadFile, "pack: nothing written: the description has errors");
  if (strict && read.WarningCount() > 0) return Fail(kExitBadFile, "pack: nothing written: warnings count as errors with --strict");
  // The output may replace only a regular file that is none of the inputs.
  if (!bare && player.empty()) {
    player = FindPlayer(target);
    if (player.empty()) {
      std::string looked;
      for (const std::string& candidate : PlayerCandidates(target)) looked += "\n  " + candidate;
      return Fail(kExitBadFile, "pack: nothing written: no " + target + " player in" + looked +
                                    "\n(give one with --player PATH)");
    }
  }
  if (!bare && checkPlayer) {
    if (std::string refusal = PlayerRefusal(player, target); !refusal.empty())
      return Fail(kExitBadFile, "pack: nothing written: " + refusal);
  }
  std::vector<std::string> inputs = read.files;
  inputs.push_back(description);
  if (!bare) inputs.push_back(player);
  if (std::string refusal = OutputRefusal(out, inputs); !refusal.empty())
    return Fail(kExitBadFile, "pack: nothing written: " + refusal);
  std::string error;
  bool ok = bare ? WriteBarePackage(*read.document, out, error) : WriteSelfRunningShow(*read.document, player, out, error);
  if (!ok) return Fail(kExitBadFile, "pack: " + error);
  if (!quiet) std::printf("%s\n", Summary(*read.document, out, read.pictures).c_str());
  return kExitOk;
}

}  // namespace pellora::tools
