#include "tools/lib/module_report.h"

#include <nlohmann/json.hpp>

#include "music/mod_player.h"
#include "platform/base/text.h"

namespace pellora::tools {
namespace {

using nlohmann::ordered_json;

ordered_json Text(const std::optional<std::string>& text) {
  return text ? ordered_json(Cp1252ToUtf8(*text)) : ordered_json(nullptr);
}

}  // namespace

std::string ModuleReportText(CModPlayer& player) { return Cp1252ToUtf8(player.GetInfoText()); }

std::string ModuleReportJson(CModPlayer& player) {
  const ModSong* song = player.Song();
  if (!song) return "null\n";
  ordered_json j;
  j["formatName"] = Text(song->formatName);
  j["songName"] = Text(song->songName);
  j["comment"] = Text(song->comment);
  j["channelCount"] = song->channelCount;
  j["positionCount"] = song->positionCount;
  j["patternCount"] = song->patternCount;
  j["trackCount"] = song->trackCount;
  j["sampleCount"] = song->sampleCount;
  j["initialSpeed"] = song->initialSpeed;
  j["initialTempo"] = song->initialTempo;
  j["duration"] = player.GetDuration();
  ordered_json samples = ordered_json::array();
  for (const ModSample& s : song->samples) {
    ordered_json sample;
    sample["name"] = Text(s.name);
    sample["length"] = s.length;
    sample["loopStart"] = s.loopStart;
    sample["loopEnd"] = s.loopEnd;
    sample["volume"] = s.volume;
    sample["c4Speed"] = s.c4Speed;
    sample["transpose"] = s.transpose;
    sample["flags"] = s.flags;
    samples.push_back(sample);
  }
  j["samples"] = samples;
  return j.dump(2) + "\n";
}

}  // namespace pellora::tools
