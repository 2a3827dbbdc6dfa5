// pellora new PHOTOS_DIR [-o SHOW.json] [--force]
#include <cstdio>
#include <filesystem>

#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/photo_folder.h"

namespace pellora::tools {
namespace {

std::string ShellQuoted(const std::string& text) {
  if (text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./") == std::string::npos)
    return text;
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

int RunNew(const std::vector<std::string>& args) {
  std::string folder, out;
  bool force = false, quiet = false;
  ArgumentParser parser("new", "PHOTOS_DIR");
  parser.Value({"-o", "--output"}, out).Flag("--force", force).Flag("--quiet", quiet);
  if (auto error = parser.Parse(args, folder)) return Fail(kExitUsage, *error);
  if (folder.empty()) return Fail(kExitUsage, "new: usage: pellora new PHOTOS_DIR [-o SHOW.json] [--force]");
  if (!IsPhotoFolder(folder)) return Fail(kExitBadFile, "new: " + folder + " is not a folder");
  namespace fs = std::filesystem;
  if (out.empty()) out = PathToUtf8(PathFromUtf8(folder) / "show.json");

  PhotoFolderShow show;
  std::string error;
  if (!DescribePhotoFolder(folder, PathToUtf8(PathFromUtf8(out).parent_path()), show, error))
    return Fail(kExitBadFile, "new: nothing written: " + error);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(PathFromUtf8(out), ec)) && !force)
    return Fail(kExitBadFile, "new: nothing written: " + out + " exists already (--force replaces it)");
  if (std::string refusal = OutputRefusal(out); !refusal.empty()) return Fail(kExitBadFile, "new: nothing written: " + refusal);
  PendingFile file(out);
  std::string text = show.description.dump(2) + "\n";
  if (!file.File().IsOpen() || !file.File().Write(text.data(), text.size()) || !file.Commit(false))
    return Fail(kExitBadFile, "new: cannot write " + out);

  for (const std::string& warning : show.warnings) std::fprintf(stderr, "pellora: new: warning: %s\n", warning.c_str());
  if (quiet) return kExitOk;
  std::string title = show.description["title"].get<std::string>();
  std::string name = title.empty() ? "show" : title;
  std::printf("wrote %s: %zu slide%s, %s\n", out.c_str(), show.pictures, show.pictures == 1 ? "" : "s",
              show.music.empty() ? "no music" : ("music " + show.music).c_str());
  std::printf("next:\n  pellora play %s\n  pellora pack %s -o %s\n", ShellQuoted(out).c_str(), ShellQuoted(out).c_str(),
              ShellQuoted(name).c_str());
  return kExitOk;
}

}  // namespace pellora::tools
