// pellora modrender FILE -o OUT.wav [--rate HZ] [--channels 1|2] [--bits 8|16]
#include <cstdlib>

#include "music/mod_render.h"
#include "platform/os/pending_file.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/wav_writer.h"

namespace pellora::tools {
namespace {

bool ParseNumber(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = uint32_t(std::strtoul(text.c_str(), nullptr, 10));
  return true;
}

}  // namespace

int RunModRender(const std::vector<std::string>& args) {
  std::string file, out;
  ModuleRenderFormat format;
  auto number = [](auto& field) {
    return [&field](const std::string& name, const std::string& value) {
      uint32_t n = 0;
      if (!ParseNumber(value, n)) return name + " needs a number, not \"" + value + "\"";
      field = std::remove_reference_t<decltype(field)>(n);
      return std::string();
    };
  };
  ArgumentParser parser("modrender", "FILE");
  parser.Value({"-o", "--output"}, out)
      .Value({"--rate"}, number(format.rate))
      .Value({"--channels"}, number(format.channels))
      .Value({"--bits"}, number(format.bits));
  if (auto error = parser.Parse(args, file)) return Fail(kExitUsage, *error);
  if (file.empty() || out.empty()) return Fail(kExitUsage, "modrender: usage: pellora modrender FILE -o OUT.wav");
  if (!ModuleFormatFlag(format))
    return Fail(kExitUsage, "modrender: the player plays 11025, 22050 or 44100 Hz, 1 or 2 channels, 8 or 16 bits");

  if (std::string refusal = OutputRefusal(out, {file}); !refusal.empty())
    return Fail(kExitBadFile, "modrender: will not write: " + refusal);
  WavWriter wav(out);
  bool started = false, writeFailed = false;
  ModuleRenderResult result = RenderModule(file, format, [&](const WaveFormat& f, const uint8_t* data, size_t size) {
    if (!started) {
      started = true;
      if (!wav.Start(f)) writeFailed = true;
    }
    if (!writeFailed && !wav.Append(data, size)) writeFailed = true;
    return !writeFailed;
  });
  if (!result.ok) return Fail(kExitBadFile, "modrender: " + file + ": " + result.error);
  if (!started && !writeFailed) {
    // A song with nothing to play still gives a valid, empty file.
    writeFailed = !wav.Start(WaveFormat::Pcm(format.rate, format.channels, format.bits));
  }
  if (writeFailed || !wav.Commit()) return Fail(kExitBadFile, "modrender: cannot write " + out);
  return kExitOk;
}

}  // namespace pellora::tools
