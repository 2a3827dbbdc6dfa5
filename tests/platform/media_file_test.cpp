// Sound files as the media devices see them: the kind told from the first
// bytes, the playing time read from the headers, and files that are cut,
// hostile or of no playable kind.
#include <gtest/gtest.h>

#include <string>

#include "platform/audio/media_file.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using test::Bytes;

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

// An Ogg page of one packet (checksum left at zero: nothing here checks it).
std::string OggPage(uint64_t granule, uint32_t serial, const std::string& packet) {
  Bytes b;
  b.Raw("OggS").Byte(0).Byte(0).DWord(uint32_t(granule)).DWord(uint32_t(granule >> 32)).DWord(serial).DWord(0).DWord(0);
  b.Byte(1).Byte(uint8_t(packet.size())).Raw(packet);
  return b.str();
}

class MediaFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = dir.File(name);
    test::WriteFile(path, bytes);
    return path;
  }
  // Read from the file and from its bytes in memory, which must agree.
  std::optional<uint64_t> Duration(const std::string& name, const std::string& bytes) {
    std::string path = Write(name, bytes);
    MediaFileKind kind = IdentifyMediaFile(path);
    std::optional<uint64_t> duration = MediaFileDurationMs(path, kind);
    std::span<const uint8_t> memory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(IdentifyMediaBytes(memory, name), kind) << name;
    EXPECT_EQ(MediaBytesDurationMs(memory, kind), duration) << name;
    return duration;
  }
  test::TempDir dir;
};

TEST_F(MediaFileTest, WaveTimeIsItsDataOverItsByteRate) {
  EXPECT_EQ(IdentifyMediaFile(Write("a.wav", test::ToneWav(1.5))), MediaFileKind::Wave);
  EXPECT_EQ(Duration("a.wav", test::ToneWav(1.5)), 1500u);
  // Other chunks before the data (an odd one padded to even) are walked over.
  std::string wav = test::ToneWav(2, 440, 8000);
  std::string list = "LIST" + std::string("\x03\x00\x00\x00", 4) + "abc" + std::string(1, '\0');
  std::string withList = wav.substr(0, 36) + list + wav.substr(36);
  EXPECT_EQ(Duration("b.wav", withList), 2000u);
  // A data chunk that claims more than the file holds counts what is there.
  EXPECT_EQ(Duration("c.wav", wav.substr(0, 44 + 8000)), 500u);
  // Without a format, or with a byte rate of zero, the time is unknown.
  EXPECT_EQ(Duration("d.wav", wav.substr(0, 12) + wav.substr(36)), std::nullopt);
  std::string noRate = wav;
  noRate.replace(28, 4, std::string(4, '\0'));
  EXPECT_EQ(Duration("e.wav", noRate), std::nullopt);
}

TEST_F(MediaFileTest, MidiTimeFollowsTheTempoMapToTheLastEvent) {
  EXPECT_EQ(IdentifyMediaFile(Write("a.mid", test::NoteMidi(1.5))), MediaFileKind::Midi);
  EXPECT_EQ(Duration("a.mid", test::NoteMidi(1.5)), 1500u);
  // Format 1: a tempo track (a quarter of 0.25 s from tick 96 on) and a
  // note track, using the running status, ending at tick 288.
  std::string tempo = std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +          // 500000 us
                      std::string("\x60\xFF\x51\x03\x03\xD0\x90", 7) +          // 250000 us at 96
                      std::string("\x00\xFF\x2F\x00", 4);
  std::string notes = std::string("\x00\x90\x3C\x64", 4) + std::string("\x81\x40\x3C\x00", 4) +  // 192
                      std::string("\x60\x3E\x64", 3) + std::string("\x00\xFF\x2F\x00", 4);    // 288
  std::string file = std::string("MThd\x00\x00\x00\x06\x00\x01\x00\x02\x00\x60", 14) + "MTrk" +
                     Be32(uint32_t(tempo.size())) + tempo + "MTrk" + Be32(uint32_t(notes.size())) + notes;
  // 96 ticks at 0.5 s a quarter, then 192 at 0.25 s.
  EXPECT_EQ(Duration("b.mid", file), 1000u);
  // Time code division: 25 frames of 40 ticks make a second.
  std::string smpte = file;
  smpte[12] = char(-25);
  smpte[13] = 40;
  EXPECT_EQ(Duration("c.mid", smpte), 288u);
  // A chunk of another kind between the tracks is skipped.
  std::string withAlien = file.substr(0, 14) + "XTRA" + Be32(2) + "zz" + file.substr(14);
  EXPECT_EQ(Duration("d.mid", withAlien), 1000u);
}

TEST_F(MediaFileTest, MidiFilesThatAreCutOrHostileStillGiveAnAnswer) {
  std::string file = test::NoteMidi(1.5);
  // Cut inside the note-off: the time of the last whole event, the note-on.
  EXPECT_EQ(Duration("cut.mid", file.substr(0, file.size() - 6)), 0u);
  // A header that names far more tracks than the file holds.
  std::string many = file;
  many[10] = char(0xFF);
  many[11] = char(0xFF);
  EXPECT_EQ(Duration("many.mid", many), 1500u);
  // The longest deltas with the slowest tempo, many times over: large but finite.
  std::string slow = std::string("\x00\xFF\x51\x03\xFF\xFF\xFF", 7);
  for (int i = 0; i < 2000; ++i) slow += std::string("\xFF\xFF\xFF\x7F\x90\x3C\x64", 7);
  std::string hostile = std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x01", 14) + "MTrk" +
                        Be32(uint32_t(slow.size())) + slow;
  std::optional<uint64_t> longest = Duration("slow.mid", hostile);
  ASSERT_TRUE(longest);
  EXPECT_GT(*longest, uint64_t(1) << 40);
  // No division, or no track at all: unknown.
  std::string noDivision = file;
  noDivision[12] = noDivision[13] = 0;
  EXPECT_EQ(Duration("nodiv.mid", noDivision), std::nullopt);
  EXPECT_EQ(Duration("notrack.mid", file.substr(0, 14)), std::nullopt);
}

TEST_F(MediaFileTest, MpegTimeFromFramesOrTheirCount) {
  // 100 frames at 128 kbit/s: the bytes over the bit rate (the frames
  // carry no padding, so a little short of their 2612 ms).
  std::string frames = test::SilentMp3(100);
  EXPECT_EQ(IdentifyMediaFile(Write("a.mp3", frames)), MediaFileKind::Mpeg);
  EXPECT_EQ(Duration("a.mp3", frames), 2606u);
  // A tag in front (and its size in 7-bit bytes) and one at the end.
  std::string id3 = std::string("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + std::string(128, 't');
  std::string tagged = id3 + frames + "TAG" + std::string(125, ' ');
  EXPECT_EQ(IdentifyMediaFile(Write("b.bin", tagged)), MediaFileKind::Mpeg);
  EXPECT_EQ(Duration("b.mp3", tagged), 2606u);
  // A variable-rate stream tells its frame count in its first frame.
  std::string xing = test::SilentMp3Frame();
  xing.replace(4 + 17, 12, "Xing" + Be32(1) + Be32(1000));
  EXPECT_EQ(Duration("c.mp3", xing + frames), 26122u);
}

TEST_F(MediaFileTest, MpegWithoutACleanStartIsLookedForOnlyInFilesNamedSo) {
  std::string junk = std::string(100, 'j') + test::SilentMp3(20);
  EXPECT_EQ(IdentifyMediaFile(Write("song.MP3", junk)), MediaFileKind::Mpeg);
  EXPECT_EQ(IdentifyMediaFile(Write("song.dat", junk)), MediaFileKind::Unknown);
  // A lone sync pattern that no second frame follows is not audio.
  std::string lone = std::string("\xFF\xFB\x90\xC0", 4) + std::string(5000, 'x');
  EXPECT_EQ(IdentifyMediaFile(Write("lone.mp3", lone)), MediaFileKind::Unknown);
  EXPECT_EQ(MediaFileDurationMs(Write("x.mp3", std::string(100000, 'x')), MediaFileKind::Mpeg), std::nullopt);
}

TEST_F(MediaFileTest, FlacAndOggTimesComeFromTheirHeaders) {
  // STREAMINFO: 44100 Hz, stereo, 16 bits, 88200 samples.
  std::string info(34, '\0');
  info[10] = char(44100 >> 12);
  info[11] = char((44100 >> 4) & 0xFF);
  info[12] = char(((44100 & 0x0F) << 4) | (1 << 1));
  info[13] = char(15 << 4);
  info.replace(14, 4, Be32(88200));
  std::string flac = "fLaC" + std::string("\x80\x00\x00\x22", 4) + info;
  EXPECT_EQ(IdentifyMediaFile(Write("a.flac", flac)), MediaFileKind::Flac);
  EXPECT_EQ(Duration("a.flac", flac), 2000u);

  std::string vorbisId = "\x01vorbis" + std::string(4, '\0') + "\x02" + std::string("\x44\xAC\x00\x00", 4) +
                         std::string(15, '\0');
  std::string vorbis = OggPage(0, 77, vorbisId) + OggPage(1000, 77, "audio") + OggPage(132300, 77, "last") +
                       OggPage(999999, 78, "other stream");
  EXPECT_EQ(IdentifyMediaFile(Write("a.ogg", vorbis)), MediaFileKind::OggVorbis);
  EXPECT_EQ(Duration("a.ogg", vorbis), 3000u);

  std::string opusHead = "OpusHead" + std::string("\x01\x02\x38\x01", 4) + std::string(7, '\0');
  std::string opus = OggPage(0, 5, opusHead) + OggPage(48000 + 312, 5, "last");
  EXPECT_EQ(IdentifyMediaFile(Write("a.opus", opus)), MediaFileKind::OggOpus);
  EXPECT_EQ(Duration("a.opus", opus), 1000u);

  // Ogg of another codec is not played here.
  EXPECT_EQ(IdentifyMediaFile(Write("t.ogg", OggPage(0, 1, "\x80theora"))), MediaFileKind::Unknown);

  // A rate of 1 and an end near 2^64: no real playing time, and no
  // overflow computing one (the fuzzer's first find).
  std::string slowId = "\x01vorbis" + std::string(4, '\0') + "\x02" + std::string("\x01\x00\x00\x00", 4) +
                       std::string(15, '\0');
  EXPECT_EQ(Duration("slow.ogg", OggPage(0, 9, slowId) + OggPage(0xFFFFFFF6FFFFFFF9ull, 9, "end")), std::nullopt);
}

TEST_F(MediaFileTest, ModulesAndOtherFilesAreOfNoKind) {
  EXPECT_EQ(IdentifyMediaFile(Write("song.mod", test::ShortModule(8))), MediaFileKind::Unknown);
  EXPECT_EQ(IdentifyMediaFile(Write("empty.wav", "")), MediaFileKind::Unknown);
  EXPECT_EQ(IdentifyMediaFile(dir.File("missing.wav")), MediaFileKind::Unknown);
  EXPECT_EQ(IdentifyMediaFile(dir.path().string()), MediaFileKind::Unknown);
  EXPECT_EQ(MediaFileDurationMs(dir.File("missing.wav"), MediaFileKind::Wave), std::nullopt);
  // A file of one kind read as another.
  EXPECT_EQ(MediaFileDurationMs(Write("w.wav", test::ToneWav(1)), MediaFileKind::Midi), std::nullopt);
  EXPECT_EQ(MediaFileDurationMs(Write("m.mid", test::NoteMidi(1)), MediaFileKind::Wave), std::nullopt);
}

TEST_F(MediaFileTest, EveryCutOfAValidFileIsReadSafely) {
  std::string vorbisId = "\x01vorbis" + std::string(4, '\0') + "\x02" + std::string("\x44\xAC\x00\x00", 4) +
                         std::string(15, '\0');
  const std::pair<const char*, std::string> files[] = {
      {"a.wav", test::ToneWav(0.01)},
      {"a.mid", test::NoteMidi(1)},
      {"a.mp3", test::SilentMp3(3)},
      {"a.ogg", OggPage(0, 9, vorbisId) + OggPage(4410, 9, "x")},
  };
  for (const auto& [name, bytes] : files)
    // Every cut inside the headers, then cuts across the rest.
    for (size_t n = 0; n <= bytes.size(); n += n < 64 ? 1 : bytes.size() / 40 + 1) {
      // A new file each time: rewriting one is much slower on some file systems.
      std::string path = Write(std::to_string(n) + name, bytes.substr(0, n));
      MediaFileKind kind = IdentifyMediaFile(path);
      std::span<const uint8_t> memory(reinterpret_cast<const uint8_t*>(bytes.data()), n);
      EXPECT_EQ(IdentifyMediaBytes(memory, name), kind);
      for (MediaFileKind asKind : {kind, MediaFileKind::Wave, MediaFileKind::Midi, MediaFileKind::Mpeg,
                                   MediaFileKind::Flac, MediaFileKind::OggVorbis, MediaFileKind::OggOpus})
        EXPECT_EQ(MediaFileDurationMs(path, asKind), MediaBytesDurationMs(memory, asKind));
    }
}

}  // namespace
}  // namespace pellora
