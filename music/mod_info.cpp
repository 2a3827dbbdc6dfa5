// The module information report: file, format, title, counts and tempo,
// the sample names and the song's comment, in French with CRLF line ends.
#include "music/mod_player.h"

namespace pellora {

std::string CModPlayer::GetInfoText() {
  std::string report;
  if (!song_) return report;
  const ModSong& s = *song_;
  const std::string dashes = std::string(92, '-') + "\r\n";
  report += "FICHIER MODULE MUSICAL\r\n" + dashes;
  report += fileName + "\r\n";
  report += "Format : \"" + s.formatName.value_or("") + "\"\r\n";
  report += "Titre : \"" + s.songName.value_or("(sans titre)") + "\"\r\n";
  report += "Nombre de voix : " + std::to_string(s.channelCount) + "\r\n";
  report += "Nombre de portions : " + std::to_string(s.positionCount) + "\r\n";
  report += "Nombre d'instruments : " + std::to_string(s.sampleCount) + "\r\n";
  report += "Nombre de patterns : " + std::to_string(s.patternCount) + "\r\n";
  report += "Nombre de tracks : " + std::to_string(s.trackCount) + "\r\n";
  report += "Vitesse : " + std::to_string(engine_.tempo) + " BPM\r\n\r\n";
  report += "INSTRUMENTS\r\n" + dashes;
  for (const ModSample& sample : s.samples)
    if (sample.name) report += *sample.name + "\r\n";
  report += "\r\n";
  report += "COMMENTAIRES\r\n" + dashes;
  if (s.comment) report += *s.comment;
  return report;
}

}  // namespace pellora
