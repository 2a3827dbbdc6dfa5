// pellora pack SHOW.json|PHOTOS_DIR -o OUT [--bare] [--target linux|windows] [--player PATH] [--strict] [--quiet]
#include <algorithm>
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

// "packed 3 slides, 1.4 MB, music theme.xm (embedded) into show"
std::string Summary(const CDiapoDoc& document, const std::string& out) {
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
         " into " + out;
}

}  // namespace

int RunPack(const std::vector<std::string>& args) {
  std::string description, out, player, target;
  bool bare = false, strict = false, quiet = false;
  ArgumentParser parser("pack", "SHOW.json");
  parser.Value({"-o", "--output"}, out).Value({"--player"}, player).Value({"--target"}, target).Flag("--bare", bare).Flag("--strict", strict);
  parser.Flag("--quiet", quiet);
  if (auto error = parser.Parse(args, description)) return Fail(kExitUsage, *error);
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
    read = ReadShowDescriptionText(PathToUtf8(PathFromUtf8(description) / "show.json"), show.description.dump());
  } else {
    read = ReadShowDescription(description);
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
  if (!quiet) std::printf("%s\n", Summary(*read.document, out).c_str());
  return kExitOk;
}

}  // namespace pellora::tools
