// What the effects do to a channel, tick by tick.
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::BuildSong;
using test::SongCells;

// A one-channel song whose row 0 holds sample 0, note 48 (unless
// noteless) and the given commands, with more commands on row 1.
struct OneChannel {
  explicit OneChannel(std::vector<std::pair<uint8_t, uint8_t>> row0, std::vector<std::pair<uint8_t, uint8_t>> row1 = {},
                      bool note = true) {
    SongCells shape;
    shape.channels = 1;
    song = BuildSong(shape, [&](TrackWriter& w, int, int r, int) {
      if (r == 0) {
        w.PutInstrument(0);
        if (note) w.PutNote(48);
      }
      for (auto [op, arg] : r == 0 ? row0 : r == 1 ? row1 : std::vector<std::pair<uint8_t, uint8_t>>{})
        w.PutCommand(op, arg);
    });
    engine.StartSong(&song);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) engine.PlayTick(&voices);
  }
  ModChannel& c() { return engine.channels[0]; }

  ModSong song;
  ModEngine engine;
  test::RecordingVoices voices;
};

constexpr uint8_t PT(int effect) { return uint8_t(TRK_PT_0 + effect); }

TEST(EngineEffects, NotePeriodsFollowTheRateAndTheSampleTransposition) {
  OneChannel t({});
  ModChannel& c = t.c();
  EXPECT_EQ(t.engine.NotePeriod(c, 48, 8363), 1712);
  EXPECT_EQ(t.engine.NotePeriod(c, 60, 8363), 856);
  EXPECT_EQ(t.engine.NotePeriod(c, 35, 8363), 3628);
  EXPECT_EQ(t.engine.NotePeriod(c, 48, 0), 4242);
  t.song.samples[0].transpose = 12;
  EXPECT_EQ(t.engine.NotePeriod(c, 48, 8363), 856);
  // Below note 0 the lowest note plays.
  t.song.samples[0].transpose = -100;
  EXPECT_EQ(t.engine.NotePeriod(c, 48, 8363), 27392);
  t.song.samples[0].transpose = 0;
  EXPECT_EQ(t.engine.NotePeriod(c, 200, 8363), 27392);  // -56 as a signed note
  // Note 48 sounds at the sample's rate.
  t.Ticks(1);
  EXPECT_EQ(t.voices.frequency[0], 14318184u / 1712);
  EXPECT_EQ(t.voices.starts.size(), 1u);
  EXPECT_EQ(t.voices.volume[0], 64);
  EXPECT_EQ(t.voices.pan[0], 0);
}

TEST(EngineEffects, ArpeggioCyclesThroughThreeNotes) {
  OneChannel t({{PT(0x0), 0x47}});
  std::vector<uint32_t> f;
  for (int i = 0; i < 4; ++i) {
    t.Ticks(1);
    f.push_back(t.voices.frequency[0]);
  }
  ModChannel& c = t.c();
  EXPECT_EQ(f[0], 14318184u / t.engine.NotePeriod(c, 48, 8363));
  EXPECT_EQ(f[1], 14318184u / t.engine.NotePeriod(c, 52, 8363));
  EXPECT_EQ(f[2], 14318184u / t.engine.NotePeriod(c, 55, 8363));
  EXPECT_EQ(f[3], f[0]);
}

TEST(EngineEffects, PortamentoSlidesAfterTickZeroAndRemembersItsSpeed) {
  OneChannel t({{PT(0x1), 2}}, {{PT(0x2), 0}});
  t.Ticks(6);
  EXPECT_EQ(t.c().period, 1712 - 5 * 8);
  t.Ticks(6);
  EXPECT_EQ(t.c().period, 1712);
  // Sliding past the end of the period range stops there.
  OneChannel far({{PT(0x1), 0xFF}});
  far.song.initialSpeed = 31;
  far.engine.ResetEngine();
  far.Ticks(31);
  EXPECT_EQ(far.c().period, 0);
  EXPECT_EQ(far.c().outPeriod, 40);
}

TEST(EngineEffects, TonePortamentoSlidesToTheNoteWithoutRestartingTheVoice) {
  SongCells shape;
  shape.channels = 1;
  ModSong song = BuildSong(shape, [](TrackWriter& w, int, int r, int) {
    if (r == 0) {
      w.PutInstrument(0);
      w.PutNote(48);
    }
    if (r == 1) {
      w.PutNote(49);
      w.PutEffect(0x3, 0x10);
    }
    if (r == 2) w.PutEffect(0x3, 0);
  });
  ModEngine e;
  e.StartSong(&song);
  test::RecordingVoices v;
  for (int i = 0; i < 7; ++i) e.PlayTick(&v);
  uint16_t target = e.NotePeriod(e.channels[0], 49, 8363);
  EXPECT_EQ(e.channels[0].outPeriod, 1712);
  EXPECT_EQ(e.channels[0].wantedPeriod, target);
  EXPECT_EQ(v.starts.size(), 1u);
  e.PlayTick(&v);
  EXPECT_EQ(e.channels[0].outPeriod, 1712 - 64);
  for (int i = 0; i < 10; ++i) e.PlayTick(&v);
  EXPECT_EQ(e.channels[0].outPeriod, target);
  EXPECT_EQ(e.channels[0].period, target);
  EXPECT_EQ(v.starts.size(), 1u);
}

TEST(EngineEffects, VibratoWaveformsIncludingTheUndefinedOne) {
  // Depth 8, phase step 32 a tick: sine, ramp, square, and 3 played as a square.
  const int atPhase0[4] = {1712, 1712, 1772, 1772};
  const int atPhase32[4] = {1756, 1728, 1772, 1772};
  const int atPhase128[4] = {1712, 1712 - 4 * (8 * 255 / 128), 1652, 1652};
  for (int waveform = 0; waveform < 4; ++waveform) {
    OneChannel t({{PT(0xE), uint8_t(0x40 | waveform)}, {PT(0x4), 0x88}});
    t.Ticks(2);
    EXPECT_EQ(t.c().outPeriod, atPhase0[waveform]) << waveform;
    t.Ticks(1);
    EXPECT_EQ(t.c().outPeriod, atPhase32[waveform]) << waveform;
    t.Ticks(3);
    EXPECT_EQ(t.c().outPeriod, atPhase128[waveform]) << waveform;
    EXPECT_EQ(t.c().period, 1712);
  }
}

TEST(EngineEffects, TremoloAndTremorWorkOnTheOutputVolumeOnly) {
  OneChannel trem({{PT(0x7), 0x8F}});
  trem.song.samples[0].volume = 32;
  trem.Ticks(3);
  EXPECT_EQ(trem.c().volume, 32);
  EXPECT_GT(trem.c().outVolume, 32);
  EXPECT_EQ(trem.voices.volume[0], trem.c().outVolume);

  OneChannel tremor({{TRK_ST3_TREMOR, 0x12}});
  std::vector<int> v;
  for (int i = 0; i < 6; ++i) {
    tremor.Ticks(1);
    v.push_back(tremor.voices.volume[0]);
  }
  EXPECT_EQ(v, (std::vector<int>{64, 64, 0, 0, 0, 64}));
}

TEST(EngineEffects, VolumeCommands) {
  OneChannel slide({{PT(0xA), 0x0F}}, {{PT(0xC), 90}});
  slide.Ticks(6);
  EXPECT_EQ(slide.c().volume, 0);
  slide.Ticks(1);
  EXPECT_EQ(slide.c().volume, 64);

  OneChannel fine({{PT(0xE), 0xB5}}, {{PT(0xE), 0xA9}});
  fine.Ticks(6);
  EXPECT_EQ(fine.c().volume, 59);
  fine.Ticks(6);
  EXPECT_EQ(fine.c().volume, 64);

  OneChannel cut({{PT(0xE), 0xC3}});
  cut.Ticks(3);
  EXPECT_EQ(cut.c().volume, 64);
  cut.Ticks(1);
  EXPECT_EQ(cut.c().volume, 0);

  // A sample's volume above 64 plays at 64.
  OneChannel loud({});
  loud.song.samples[0].volume = 200;
  loud.Ticks(1);
  EXPECT_EQ(loud.c().volume, 64);
  EXPECT_EQ(loud.voices.volume[0], 64);
}

TEST(EngineEffects, NoteDelayRetriggerAndSampleOffsetDecideTheStarts) {
  OneChannel delay({{PT(0xE), 0xD2}});
  delay.Ticks(2);
  EXPECT_TRUE(delay.voices.starts.empty());
  delay.Ticks(1);
  EXPECT_EQ(delay.voices.starts.size(), 1u);

  OneChannel retrig({{PT(0xE), 0x92}});
  retrig.Ticks(6);
  EXPECT_EQ(retrig.voices.starts.size(), 3u);

  OneChannel offset({{PT(0x9), 0x02}});
  offset.Ticks(1);
  ASSERT_EQ(offset.voices.starts.size(), 1u);
  EXPECT_EQ(offset.voices.starts[0].start, 512u);
  OneChannel beyond({{PT(0x9), 0x10}});
  beyond.Ticks(1);
  EXPECT_EQ(beyond.voices.starts[0].start, 1000u);  // at the end: the mixer will not restart
}

TEST(EngineEffects, PanningAndFinetuneChangeTheSongAndTheChannel) {
  OneChannel pan({{PT(0x8), 0x40}}, {{PT(0xE), 0x8F}});
  pan.Ticks(1);
  EXPECT_EQ(pan.song.panning[0], 0x40);
  EXPECT_EQ(pan.voices.pan[0], 0x40);
  pan.Ticks(6);
  EXPECT_EQ(pan.song.panning[0], 240);
  // Rewinding keeps what the effects did to the panning.
  pan.engine.ResetEngine();
  EXPECT_EQ(pan.song.panning[0], 240);

  OneChannel fine({{PT(0xE), 0x5F}});
  fine.Ticks(1);
  EXPECT_EQ(fine.c().c4Speed, 8280);
  EXPECT_EQ(fine.c().period, fine.engine.NotePeriod(fine.c(), 48, 8280));
}

TEST(EngineEffects, ScreamTrackerCommands) {
  OneChannel down({{TRK_ST3_VOLSLIDE, 0x04}});
  down.Ticks(1);
  EXPECT_EQ(down.c().volume, 60);  // tick 0 included
  OneChannel fineUp({{TRK_ST3_VOLSLIDE, 0x3F}}, {{TRK_ST3_VOLSLIDE, 0}});
  fineUp.song.samples[0].volume = 10;
  fineUp.Ticks(6);
  EXPECT_EQ(fineUp.c().volume, 13);
  fineUp.Ticks(6);
  EXPECT_EQ(fineUp.c().volume, 16);  // from memory

  OneChannel porta({{TRK_ST3_PORTA_DOWN, 0xF3}}, {{TRK_ST3_PORTA_UP, 0xE2}});
  porta.Ticks(6);
  EXPECT_EQ(porta.c().period, 1712 + 12);
  porta.Ticks(6);
  EXPECT_EQ(porta.c().period, 1712 + 10);
  OneChannel coarse({{TRK_ST3_PORTA_UP, 0x02}}, {{TRK_ST3_PORTA_UP, 0}});
  coarse.Ticks(12);
  EXPECT_EQ(coarse.c().period, 1712 - 10 * 8);

  OneChannel retrig({{TRK_ST3_RETRIG, 0x22}});
  retrig.Ticks(6);
  EXPECT_EQ(retrig.voices.starts.size(), 3u);
  EXPECT_EQ(retrig.c().volume, 60);

  OneChannel speed({{TRK_ST3_SPEED, 3}, {TRK_ST3_TEMPO, 2}}, {{TRK_ST3_TEMPO, 3}});
  speed.Ticks(1);
  EXPECT_EQ(speed.engine.speed, 3);
  EXPECT_EQ(speed.engine.tempo, 125);  // below 3: refused
  speed.Ticks(3);
  EXPECT_EQ(speed.engine.tempo, 3);
  EXPECT_EQ(TickLengthMs(3), 1000u);
}

TEST(EngineEffects, RowsWithoutDataLeaveTheOutputAlone) {
  OneChannel t({{PT(0xC), 30}});
  t.song.patternTracks[0] = 999;  // no such track
  t.Ticks(1);
  EXPECT_EQ(t.c().rowData, nullptr);
  EXPECT_TRUE(t.voices.starts.empty());
}

}  // namespace
}  // namespace pellora
