// pellora modrender FILE -o OUT.wav [--rate HZ] [--channels 1|2] [--bits 8|16]
#include <cstdlib>

#include "tools/command.h"
#include "tools/lib/module_render.h"
#include "tools/lib/wav_writer.h"

namespace pellora::tools {
namespace {

bool ParseNumber(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = uint32_t(std::strtoul(text.c_str(), nullptr, 10));
  return true;
}

int RunModRender(const std::vector<std::string>& args) {
  std::string file, out;
  ModuleRenderFormat format;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output" || a == "--rate" || a == "--channels" || a == "--bits") {
      if (i + 1 >= args.size()) return Fail(kExitUsage, "modrender: " + a + " needs a value");
      const std::string& v = args[++i];
      uint32_t n = 0;
      if (a == "-o" || a == "--output") {
        out = v;
      } else if (!ParseNumber(v, n)) {
        return Fail(kExitUsage, "modrender: " + a + " needs a number, not \"" + v + "\"");
      } else if (a == "--rate") {
        format.rate = n;
      } else if (a == "--channels") {
        format.channels = uint16_t(n);
      } else {
        format.bits = uint16_t(n);
      }
    } else if (!a.empty() && a[0] == '-') {
      return Fail(kExitUsage, "modrender: unknown option " + a);
    } else if (file.empty()) {
      file = a;
    } else {
      return Fail(kExitUsage, "modrender: only one FILE");
    }
  }
  if (file.empty() || out.empty()) return Fail(kExitUsage, "modrender: usage: pellora modrender FILE -o OUT.wav");
  if (!ModuleFormatFlag(format))
    return Fail(kExitUsage, "modrender: the player plays 11025, 22050 or 44100 Hz, 1 or 2 channels, 8 or 16 bits");

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

const CommandRegistration registration({"modrender", "FILE -o OUT.wav [--rate HZ] [--channels 1|2] [--bits 8|16]",
                                         "renders a tracker module to a WAV file through the player's engine and mixer",
                                         RunModRender});

}  // namespace
}  // namespace pellora::tools
