#include "tools/lib/show_report.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>

#include "document/diapo_doc.h"
#include "platform/base/text.h"

namespace pellora::tools {
namespace {

using nlohmann::ordered_json;

std::string Text(const std::string& stored) { return Cp1252ToUtf8(stored); }

// Text for a terminal: control characters from the package (C0, DEL and
// the C1 range that Windows-1252 leaves undefined) are shown as escapes,
// so that they cannot act on the terminal.
std::string TerminalText(const std::string& stored) {
  std::string utf8 = Cp1252ToUtf8(stored), shown;
  char escape[8];
  for (size_t i = 0; i < utf8.size(); ++i) {
    auto c = uint8_t(utf8[i]);
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    } else if (c == 0xC2 && i + 1 < utf8.size() && uint8_t(utf8[i + 1]) < 0xA0) {
      std::snprintf(escape, sizeof escape, "\\u%04X", uint8_t(utf8[++i]));
      shown += escape;
    } else {
      shown += char(c);
    }
  }
  return shown;
}

ordered_json PictureRecord(const CDIB& dib) {
  if (!dib.m_hDIB) return nullptr;
  const HDIB& block = dib.m_hDIB;
  ordered_json record;
  bool header = block.size() >= 40 || (block.size() >= 12 && IsCoreHeader(block.data()));
  record["width"] = header ? DIBWidth(block.data()) : 0;
  record["height"] = header ? DIBHeight(block.data()) : 0;
  record["bitCount"] = header ? DIBBitCount(block.data()) : 0;
  record["colours"] = header ? DIBNumColors(block.data()) : 0;
  record["bytes"] = block.size();
  return record;
}

std::string PictureText(const CDIB& dib) {
  ordered_json r = PictureRecord(dib);
  if (r.is_null()) return "none";
  std::ostringstream out;
  out << r["width"] << "x" << r["height"] << ", " << r["bitCount"] << " bits, " << r["bytes"] << " bytes";
  return out.str();
}

std::string Colour(uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

const char* Choice(int value, std::initializer_list<const char*> names) {
  if (value >= 0 && size_t(value) < names.size()) return names.begin()[value];
  return "other";
}

}  // namespace

std::string ShowReportJson(const CDiapoDoc& d, uint32_t packageOffset) {
  ordered_json j;
  j["title"] = Text(d.title);
  j["description"] = Text(d.description);
  j["notice"] = Text(d.notice);
  j["password"] = Text(d.password);
  j["loopShow"] = d.loopShow;
  j["packageVersion"] = d.packageVersion;
  j["musicFileName"] = Text(d.musicFileName);
  j["musicSize"] = d.musicSize;
  j["pictureMargin"] = d.pictureMargin;
  j["pictureOption"] = d.pictureOption;
  j["backgroundKind"] = d.backgroundKind;
  j["backgroundPlacement"] = d.backgroundPlacement;
  j["backgroundFileName"] = Text(d.backgroundFileName);
  j["gradientHorizontal"] = d.gradientHorizontal;
  j["gradientColourA"] = d.gradientColourA;
  j["gradientColourB"] = d.gradientColourB;
  j["plainColour"] = d.plainColour;
  j["backgroundPicture"] = PictureRecord(d.backgroundPicture);
  ordered_json slides = ordered_json::array();
  for (const auto& s : d.slides) {
    ordered_json o;
    if (!s) {
      slides.push_back(nullptr);
      continue;
    }
    o["pictureFileName"] = Text(s->pictureFileName);
    o["pictureFormat"] = Text(s->pictureFormat);
    o["slideName"] = Text(s->slideName);
    o["slideComment"] = Text(s->slideComment);
    o["thumbnailSize"] = {s->thumbnailSize[0], s->thumbnailSize[1]};
    o["smallThumbnailSize"] = {s->smallThumbnailSize[0], s->smallThumbnailSize[1]};
    o["pictureHeight"] = s->pictureHeight;
    o["pictureWidth"] = s->pictureWidth;
    o["pictureDepth"] = s->pictureDepth;
    o["pictureFit"] = s->pictureFit;
    o["soundMode"] = s->soundMode;
    o["soundFileName"] = Text(s->soundFileName);
    o["duration"] = s->duration;
    o["advanceMode"] = s->advanceMode;
    o["transition"] = s->transition;
    o["pictureSize"] = s->pictureSize;
    o["soundSize"] = s->soundSize;
    o["slideReserved"] = s->slideReserved;
    o["thumbnail"] = PictureRecord(s->thumbnail);
    o["smallThumbnail"] = PictureRecord(s->smallThumbnail);
    slides.push_back(std::move(o));
  }
  j["slides"] = std::move(slides);
  j["packageOffset"] = packageOffset;
  return j.dump(2) + "\n";
}

std::string ShowReportText(const CDiapoDoc& d, uint32_t packageOffset) {
  std::ostringstream out;
  out << "Title:        " << TerminalText(d.title) << "\n"
      << "Description:  " << TerminalText(d.description) << "\n"
      << "Notice:       " << TerminalText(d.notice) << "\n"
      << "Password:     " << (d.password.empty() ? "none" : "yes") << "\n"
      << "Loop:         " << (d.loopShow ? "yes" : "no") << "\n"
      << "Version:      " << d.packageVersion << "\n"
      << "Package at:   " << packageOffset << "\n"
      << "Background:   " << Choice(d.backgroundKind, {"picture", "gradient", "colour"});
  if (d.backgroundKind == BACKGROUND_PICTURE)
    out << " (" << Choice(d.backgroundPlacement, {"stretch", "centre", "tile"}) << ", "
        << PictureText(d.backgroundPicture) << ")";
  else if (d.backgroundKind == BACKGROUND_GRADIENT)
    out << " " << Colour(d.gradientColourA) << " to " << Colour(d.gradientColourB)
        << (d.gradientHorizontal ? " left to right" : " top to bottom");
  else if (d.backgroundKind == BACKGROUND_COLOUR)
    out << " " << Colour(d.plainColour);
  out << "\n"
      << "Music:        " << (d.musicFileName.empty() ? "none" : TerminalText(d.musicFileName))
      << (d.musicSize ? " (embedded, " + std::to_string(d.musicSize) + " bytes)" : "") << "\n"
      << "Margin:       " << d.pictureMargin << "\n"
      << "Slides:       " << d.slides.size() << "\n";
  int index = 0;
  for (const auto& s : d.slides) {
    ++index;
    if (!s) continue;
    out << "\n" << index << ". " << (s->slideName.empty() ? "(no name)" : TerminalText(s->slideName)) << "\n"
        << "   picture:    " << (s->pictureFileName.empty() ? "none" : TerminalText(s->pictureFileName)) << " ["
        << TerminalText(s->pictureFormat) << "]"
        << (s->pictureSize ? " embedded, " + std::to_string(s->pictureSize) + " bytes" : "") << ", "
        << s->pictureWidth << "x" << s->pictureHeight << ", " << s->pictureDepth << " bits\n"
        << "   fit:        " << Choice(s->pictureFit, {"none", "keep-ratio", "stretch"}) << "\n"
        << "   sound:      " << Choice(s->soundMode, {"show-music", "silence", "keep", "slide"});
    if (s->soundMode == SOUND_SLIDE)
      out << " " << TerminalText(s->soundFileName) << (s->soundSize ? " (embedded, " + std::to_string(s->soundSize) + " bytes)" : "");
    out << "\n"
        << "   advance:    "
        << (s->advanceMode == ADVANCE_TIMED ? "after " + std::to_string(s->duration) + " s"
            : s->advanceMode == ADVANCE_AT_SOUND_END ? std::string("at sound end")
                                                      : std::string("manual"))
        << "\n"
        << "   transition: " << (s->transition == 0 ? std::string("random") : std::to_string(s->transition))
        << "\n"
        << "   thumbnails: " << PictureText(s->thumbnail) << "; " << PictureText(s->smallThumbnail) << "\n";
  }
  return out.str();
}

}  // namespace pellora::tools
