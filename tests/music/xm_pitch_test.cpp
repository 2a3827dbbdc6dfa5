// XM notes sound at the pitch the format gives them, through the same
// engine, mixer and blocks as playback: C-4 with relative note 0 and
// finetune 0 plays the sample at 8363 frames per second.
#include <gtest/gtest.h>

#include <cmath>

#include "testing/mod_file_builder.h"
#include "testing/xm_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::XmFileBuilder;

constexpr int kFramesPerCycle = 64;
constexpr double kC4 = 8363.0 / kFramesPerCycle;  // Hz of the sine at C-4

// A looped sine of four cycles played from row 0 with one note, and a
// key off on `keyOffRow` when it is not negative.
std::string SineSong(uint8_t note, int8_t relativeNote, int8_t finetune, int keyOffRow = -1) {
  XmFileBuilder b(2);
  b.orders = {0};
  test::XmFileSample sine{"sine", test::SineWave(4 * kFramesPerCycle, 4, 120)};
  sine.loopType = 1;
  sine.loopLength = 4 * kFramesPerCycle;
  sine.relativeNote = relativeNote;
  sine.finetune = finetune;
  b.instruments = {{"sine", {sine}}};
  b.Cell(0, 0, 0) = {note, 1};
  if (keyOffRow >= 0) b.Cell(0, keyOffRow, 0) = {97};
  b.SetRows(0, 32);
  return b.Build();
}

double Frequency(uint8_t note, int8_t relativeNote = 0, int8_t finetune = 0) {
  std::string pcm = test::RenderModuleBytes(SineSong(note, relativeNote, finetune));
  // Half a second to three seconds into the song.
  return test::LeftFrequency(pcm, 22050, 3 * 44100);
}

TEST(XmPitch, CFourPlaysTheSampleAt8363FramesPerSecond) {
  double f = Frequency(49);
  EXPECT_NEAR(f, kC4, kC4 * 0.005);
}

TEST(XmPitch, OctavesRelativeNotesAndFinetune) {
  EXPECT_NEAR(Frequency(61), 2 * kC4, 2 * kC4 * 0.005);
  EXPECT_NEAR(Frequency(37), kC4 / 2, kC4 / 2 * 0.005);
  EXPECT_NEAR(Frequency(49, 12), 2 * kC4, 2 * kC4 * 0.005);
  EXPECT_NEAR(Frequency(61, -12), kC4, kC4 * 0.005);
  // Finetune counts 1/128 semitone: 64 is half a semitone.
  double up = kC4 * std::exp2(1.0 / 24);
  double down = kC4 * std::exp2(-1.0 / 24);
  EXPECT_NEAR(Frequency(49, 0, 64), up, up * 0.005);
  EXPECT_NEAR(Frequency(49, 0, -64), down, down * 0.005);
  // Seven semitones up and a semitone down from the relative note.
  double fifth = kC4 * std::exp2(6.0 / 12);
  EXPECT_NEAR(Frequency(49, 7, -128), fifth, fifth * 0.005);
}

TEST(XmPitch, KeyOffSilencesTheChannel) {
  std::string pcm = test::RenderModuleBytes(SineSong(49, 0, 0, 8));
  // Rows of 6 ticks of 882 frames of 4 bytes; key off on row 8.
  size_t rowBytes = 6 * 882 * 4;
  ASSERT_GT(pcm.size(), 16 * rowBytes);
  EXPECT_GT(test::Rms16(pcm.substr(0, 8 * rowBytes)), 1000);
  EXPECT_EQ(test::Rms16(pcm.substr(9 * rowBytes, 6 * rowBytes)), 0);
}

}  // namespace
}  // namespace pellora
