// pellora unpack SHOW DIR
#include <cstdio>
#include <filesystem>

#include "document/diapo_doc.h"
#include "platform/os/file.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/show_input.h"
#include "tools/lib/show_unpacker.h"

namespace pellora::tools {

int RunUnpack(const std::vector<std::string>& args) {
  // Two operands: the show and the folder.
  std::vector<std::string> operands;
  bool quiet = false;
  for (const std::string& a : args) {
    if (a == "--quiet") quiet = true;
    else if (!a.empty() && a[0] == '-') return Fail(kExitUsage, "unpack: unknown option " + a);
    else operands.push_back(a);
  }
  if (operands.size() != 2) return Fail(kExitUsage, "unpack: usage: pellora unpack SHOW DIR");
  const std::string& file = operands[0];
  const std::string& dir = operands[1];

  ShowInput input;
  std::string message;
  if (!input.Open(file, message)) return Fail(kExitBadFile, message);
  std::unique_ptr<CDiapoDoc> document = LoadShowInput(input, file, message);
  if (!document) return Fail(kExitBadFile, message);

  UnpackedShow show = DescribeForUnpacking(*document);
  if (!WriteUnpackedShow(show, dir, message)) return Fail(kExitBadFile, "unpack: nothing written: " + message);
  for (const std::string& loss : show.losses) std::fprintf(stderr, "pellora: unpack: warning: %s\n", loss.c_str());

  std::string description = PathToUtf8(PathFromUtf8(dir) / kUnpackedDescription);
  std::string difference = CompareRepacked(description, input.Path(), input.Location().offset);
  if (!difference.empty())
    std::fprintf(stderr, "pellora: unpack: warning: pack %s --bare will not give back the same package: %s\n",
                 description.c_str(), difference.c_str());
  if (!quiet)
    std::printf("unpacked %zu slides (%zu pictures, %zu sounds, %s, %zu thumbnails and backgrounds) into %s\n",
                document->slides.size(), show.pictures, show.sounds, show.music ? "music" : "no embedded music",
                show.bitmaps, description.c_str());
  return kExitOk;
}

}  // namespace pellora::tools
