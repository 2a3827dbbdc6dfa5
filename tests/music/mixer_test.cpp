#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "music/mod_mixer.h"
#include "music/sample_store.h"

namespace pellora {
namespace {

// A store with one sample in slot 0.
struct OneSample {
  explicit OneSample(const std::vector<int8_t>& data) {
    int slot = store.Take(uint32_t(data.size()));
    EXPECT_EQ(slot, 0);
    std::memcpy(store.MutableData(0), data.data(), data.size());
  }
  ModSampleStore store;
};

std::vector<int16_t> Mix16(ModMixer& mixer, uint32_t frames, int channels = 2) {
  std::vector<uint8_t> bytes(frames * 2 * size_t(channels));
  EXPECT_EQ(mixer.MixTick(bytes.data(), uint32_t(bytes.size())), bytes.size());
  std::vector<int16_t> values(bytes.size() / 2);
  for (size_t i = 0; i < values.size(); ++i) values[i] = int16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return values;
}

void StartVoice(ModMixer& m, int voice, uint32_t length, uint32_t hz, int volume, int pan, uint16_t flags = 0,
                uint32_t loopStart = 0, uint32_t loopEnd = 0, int slot = 0) {
  m.VoiceStart(voice, slot, 0, length, loopStart, loopEnd, flags);
  m.VoiceSetFrequency(voice, hz);
  m.VoiceSetVolume(voice, volume);
  m.VoiceSetPanning(voice, pan);
}

std::vector<int8_t> Ramp(size_t n) {
  std::vector<int8_t> d(n);
  for (size_t i = 0; i < n; ++i) d[i] = int8_t(int(i % 200) - 100);
  return d;
}

TEST(Mixer, VolumeTablesScaleByVoiceCount) {
  OneSample s(std::vector<int8_t>(16, 127));
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(44100, 2, 16, 4));
  m.ResetVoices();
  StartVoice(m, 0, 16, 44100, 64, 0);  // hard left
  std::vector<int16_t> out = Mix16(m, 8);
  EXPECT_EQ(out[0], 2 * 127 * 64);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(m.Shift(), 2);
  ModMixer none(s.store);
  EXPECT_FALSE(none.Configure(44100, 2, 16, 0));
  EXPECT_FALSE(none.Ready());
  std::vector<uint8_t> buffer(64, 0xAA);
  EXPECT_EQ(none.MixTick(buffer.data(), 64), 0u);  // never mixes without tables
  EXPECT_EQ(buffer[0], 0xAA);
}

TEST(Mixer, LongTicksAreMixedInChunksWithoutGapsOrOverlaps) {
  OneSample s(Ramp(20000));
  ModMixer whole(s.store), pieces(s.store);
  for (ModMixer* m : {&whole, &pieces}) {
    ASSERT_TRUE(m->Configure(44100, 2, 16, 1));
    m->ResetVoices();
    StartVoice(*m, 0, 20000, 30000, 64, 128);
  }
  std::vector<int16_t> a = Mix16(whole, 4100);
  std::vector<int16_t> b = Mix16(pieces, 1000);
  std::vector<int16_t> b2 = Mix16(pieces, 3100);
  b.insert(b.end(), b2.begin(), b2.end());
  EXPECT_EQ(a, b);
  // Every frame holds the ramp: no silent frame at a chunk's edge.
  for (size_t f = 1700; f < 1900; ++f) EXPECT_NE(a[2 * f], 0) << f;
  EXPECT_EQ(whole.Voice(0).samplePos, uint32_t((uint64_t(4100) * whole.Voice(0).step) >> 16));
}

TEST(Mixer, AOneShotSampleEndingInsideAChunkLeavesTheRestSilent) {
  OneSample s(std::vector<int8_t>(100, 50));
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(22050, 1, 16, 1));
  m.ResetVoices();
  StartVoice(m, 0, 100, 22050, 64, 0);
  std::vector<int16_t> out = Mix16(m, 300, 1);
  for (size_t i = 0; i < 100; ++i) ASSERT_EQ(out[i], 2 * 50 * 128 * 32 / 64) << i;
  for (size_t i = 100; i < 300; ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_EQ(m.Voice(0).active, 0);
  EXPECT_EQ(m.Voice(0).samplePos, 0u);
}

TEST(Mixer, LoopsWrapAndBadLoopsPlayOnce) {
  std::vector<int8_t> data = Ramp(100);
  OneSample s(data);
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(44100, 1, 16, 2));
  m.ResetVoices();
  StartVoice(m, 0, 100, 44100, 64, 0, SMP_LOOPED, 60, 100);
  std::vector<int16_t> out = Mix16(m, 250, 1);
  // 100 frames, then the loop 60..99 again and again.
  EXPECT_EQ(out[100], out[60]);
  EXPECT_EQ(out[140], out[60]);
  EXPECT_EQ(out[249], out[89]);
  EXPECT_EQ(m.Voice(0).active, 1);
  // A loop that starts at or after its end cannot loop: the sample plays once.
  StartVoice(m, 1, 100, 44100, 64, 0, SMP_LOOPED, 100, 100);
  m.VoiceSetVolume(0, 0);
  out = Mix16(m, 150, 1);
  EXPECT_EQ(m.Voice(1).active, 0);
  EXPECT_EQ(out[120], 0);
}

TEST(Mixer, StartsBeyondTheEndAndMissingDataDoNotPlay) {
  OneSample s(Ramp(100));
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(44100, 2, 16, 2));
  m.ResetVoices();
  StartVoice(m, 0, 100, 11025, 64, 128);
  Mix16(m, 40);
  uint32_t pos = m.Voice(0).samplePos;
  // A start at the sample's end keeps the voice where it was.
  m.VoiceStart(0, 0, 100, 100, 0, 0, 0);
  Mix16(m, 4);
  EXPECT_EQ(m.Voice(0).samplePos, pos + 1);
  // A voice whose slot holds nothing stops, and a length beyond the slot's
  // data is cut to it.
  StartVoice(m, 1, 100, 44100, 64, 128, 0, 0, 0, -1);
  Mix16(m, 4);
  EXPECT_EQ(m.Voice(1).active, 0);
  StartVoice(m, 1, 5000, 44100, 64, 128);
  Mix16(m, 200);
  EXPECT_EQ(m.Voice(1).active, 0);
}

TEST(Mixer, FullScaleVoicesWithTheDefaultPanningStayInRange) {
  OneSample s(std::vector<int8_t>(64, -128));
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(44100, 2, 16, 4));
  m.ResetVoices();
  const int pans[4] = {0, 255, 255, 0};
  for (int v = 0; v < 4; ++v) StartVoice(m, v, 64, 44100, 64, pans[v]);
  std::vector<int16_t> out = Mix16(m, 32);
  EXPECT_EQ(out[0], -32768);
  EXPECT_EQ(out[1], -32768);
  // Louder than that saturates instead of wrapping round.
  for (int v = 0; v < 4; ++v) m.VoiceSetPanning(v, 0);
  out = Mix16(m, 8);
  EXPECT_EQ(out[0], -32768);
  EXPECT_EQ(out[1], 0);
}

TEST(Mixer, EightBitOutputGoesThroughTheClipTable) {
  OneSample s(std::vector<int8_t>(64, 127));
  ModMixer m(s.store);
  ASSERT_TRUE(m.Configure(11025, 2, 8, 1));
  m.ResetVoices();
  std::vector<uint8_t> bytes(32);
  EXPECT_EQ(m.MixTick(bytes.data(), 32), 32u);
  EXPECT_EQ(bytes[0], 128);  // silence
  StartVoice(m, 0, 64, 11025, 64, 0);
  EXPECT_EQ(m.Shift(), 1);
  m.MixTick(bytes.data(), 32);
  EXPECT_EQ(bytes[0], 255);  // far beyond the table's range: clipped at its end
  EXPECT_EQ(bytes[1], 128);
  m.VoiceSetVolume(0, 1);
  m.MixTick(bytes.data(), 32);
  EXPECT_EQ(bytes[0], 128 + ((2 * 127 * 64 * 1 / 64) * 332 >> 14));
}

}  // namespace
}  // namespace pellora
