// Seeds of the module fuzzer for the S3M, STM, XM, MTM and 669 loaders:
// small songs that reach each loader's channel map, packing, sample
// formats and command conversion. FuzzSeeds writes them with the MOD ones.
#include <gtest/gtest.h>

#include "testing/composer669_file_builder.h"
#include "testing/mod_file_builder.h"
#include "testing/mtm_file_builder.h"
#include "testing/s3m_file_builder.h"
#include "testing/stm_file_builder.h"
#include "testing/xm_file_builder.h"
#include "tests/music/tracker_test_support.h"

namespace pellora::test {
namespace {

std::string S3mSeed() {
  test::S3mFileBuilder b(5);
  b.title = "seed";
  b.channelSettings[4] = 8;  // shares song channel 8 with file channel 1
  b.orders = {0, 254, 1, 255, 0};
  b.samples = {{"loop", test::SquareWave(32, 80)}, {"wide"}, {"adlib", test::SquareWave(16, 40)}};
  b.samples[0].looped = true;
  b.samples[0].loopEnd = 32;
  b.samples[1].data16 = {0, 8000, 16000, 8000, 0, -8000, -16000, -8000};
  b.samples[1].c4Speed = 16726;
  b.samples[2].scrs = false;
  for (uint8_t command = 1; command <= 27; ++command)
    b.Add(0, command, command % 5, {uint8_t(0x30 + command % 12), uint8_t(1 + command % 3), uint8_t(command * 2),
                                    command, uint8_t(command * 9)});
  b.Add(0, 40, 0, {254});
  b.Add(1, 0, 1, {0x40, 2, 255, 20, 0x21});
  b.Add(1, 1, 4, {0x45, 1, 255, 19, 0xB2});
  return b.Build();
}

std::string StmSeed() {
  test::StmFileBuilder b;
  b.title = "seed";
  b.orders = {0, 1, 0};
  b.samples = {{"loop", test::SquareWave(32, 80), 0, 32}, {"quiet", test::SineWave(48, 1, 50), 0, 0xFFFF, 0},
               {"shot", test::SineWave(64, 2, 90)}};
  for (int command = 0; command < 16; ++command)
    b.Cell(0, command, command % 4) = test::StmFileBuilder::Note(command % 5, command % 12, 1 + command % 3,
                                                                   command * 4, command, 0x21 + command);
  b.Cell(0, 20, 1) = {252, 0x01, 0x80, 0};
  b.Cell(1, 0, 2) = test::StmFileBuilder::Note(3, 0, 3, 65, 3, 0);
  return b.Build();
}

test::XmFileBuilder XmSong(uint16_t version) {
  test::XmFileBuilder b(6);
  b.version = version;
  b.title = "seed";
  b.orders = {0, 1, 0};
  test::XmFileSample loop{"loop", test::SineWave(64, 2, 100)};
  loop.loopType = 2;
  loop.loopStart = 8;
  loop.loopLength = 40;
  loop.relativeNote = -12;
  loop.finetune = 40;
  test::XmFileSample wide{"wide"};
  wide.data16 = {0, 12000, 24000, 12000, 0, -12000, -24000, -12000};
  wide.loopType = 1;
  wide.loopLength = 8;
  b.instruments = {{"three", {loop, {"b", test::SquareWave(16, 20)}, wide}}, {"wide", {wide}}, {"none", {}}};
  for (int effect = 0; effect < 20; ++effect)
    b.Cell(0, effect, effect % 6) = {uint8_t(1 + effect * 5), uint8_t(1 + effect % 3), uint8_t(0x10 + effect * 4),
                                     uint8_t(effect), uint8_t(0x13 + effect)};
  b.Cell(0, 30, 0) = {97};
  b.SetRows(1, 24);
  b.LeaveEmpty(1);
  return b;
}

std::string MtmSeed() {
  test::MtmFileBuilder b(3);
  b.title = "seed";
  b.orders = {0, 1, 0};
  // Three samples: with two, byte 30 would make it an STM file.
  b.samples = {{"loop", test::SquareWave(32, 80), {}, 0, 32, 3},
               {"wide", {}, {0, 9000, 0, -9000}, 0, 4, 12, 50},
               {"short", test::SineWave(20, 1, 60), {}, 4, 6}};
  std::vector<test::MtmFileRow> rows;
  for (int effect = 0; effect < 16; ++effect)
    rows.push_back({uint8_t(12 + effect), uint8_t(1 + effect % 2), uint8_t(effect), uint8_t(0x35 + effect)});
  int busy = b.AddTrack(rows);
  int quiet = b.AddTrack({{}, {24, 2, 0xA, 0x50}});
  b.patterns = {{uint16_t(busy), 0, uint16_t(quiet)}, {uint16_t(quiet), uint16_t(busy), 9}};
  b.comment = "a seed of the fuzzer";
  return b.Build();
}

std::string Composer669Seed() {
  test::Composer669FileBuilder b;
  b.extended = true;
  b.orders = {0, 1, 0};
  b.samples = {{"loop.smp", test::SquareWave(32, 80), 0, 32}, {"shot.smp", test::SineWave(48, 2, 90)}};
  b.breaks = {{0, 31}, {1, 15}};
  for (int row = 0; row < 32; row += 2) b.Cell(0, row, row % 8) = test::Composer669FileBuilder::Note(row, row % 2, row % 16);
  b.Cell(0, 5, 3) = {0xF8, 0x0A, 0xFF};
  b.Cell(1, 0, 7) = test::Composer669FileBuilder::Note(61, 1, 15);
  return b.Build();
}

}  // namespace

std::map<std::string, std::string> TrackerSeeds() {
  return {{"seed.s3m", S3mSeed()},        {"seed.stm", StmSeed()},
          {"seed.xm", XmSong(0x0104).Build()}, {"old.xm", [] {
             test::XmFileBuilder b = XmSong(0x0102);
             b.patternHeaderSize = 8;
             return b.Build();
           }()},
          {"seed.mtm", MtmSeed()},        {"seed.669", Composer669Seed()}};
}

namespace {

TEST(TrackerSeeds, EachReachesItsOwnLoaderAndLoads) {
  std::map<std::string, std::string> formats = {{"seed.s3m", "S3M"}, {"seed.stm", "STM"}, {"seed.xm", "XM"},
                                                {"old.xm", "XM"},     {"seed.mtm", "MTM"}, {"seed.669", "669"}};
  for (const auto& [name, bytes] : TrackerSeeds()) {
    LoadedModule m = LoadModuleBytes(bytes);
    EXPECT_TRUE(m.ok) << name;
    EXPECT_EQ(m.detected, formats[name]) << name;
    EXPECT_LT(bytes.size(), 8000u) << name;
  }
}

}  // namespace
}  // namespace pellora::test
