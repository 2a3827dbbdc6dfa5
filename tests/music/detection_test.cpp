// Which loader takes a file: the registry asks 669, XM, STM, MTM, S3M,
// MOD and M15 in that order, and the first that recognises it loads it.
#include <gtest/gtest.h>

#include "testing/composer669_file_builder.h"
#include "testing/mod_file_builder.h"
#include "testing/mtm_file_builder.h"
#include "testing/s3m_file_builder.h"
#include "testing/stm_file_builder.h"
#include "testing/xm_file_builder.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;

std::string S3mBytes() {
  test::S3mFileBuilder b(2);
  b.orders = {0};
  b.samples = {{"s", test::SquareWave(32, 50)}};
  b.Add(0, 0, 0, {0x40, 1});
  return b.Build();
}

std::string MtmBytes(int samples) {
  test::MtmFileBuilder b;
  b.orders = {0};
  for (int i = 0; i < samples; ++i) b.samples.push_back({"s", test::SquareWave(32, 50)});
  b.patterns = {{uint16_t(b.AddTrack({{24, 1}}))}};
  return b.Build();
}

TEST(Detection, EachFormatIsTakenByItsOwnLoader) {
  test::XmFileBuilder xm;
  xm.orders = {0};
  xm.Cell(0, 0, 0) = {49};
  test::StmFileBuilder stm;
  stm.orders = {0};
  stm.Cell(0, 0, 0) = test::StmFileBuilder::Note(2, 0, 1);
  test::Composer669FileBuilder c669;
  c669.orders = {0};
  c669.Cell(0, 0, 0) = test::Composer669FileBuilder::Note(12, 0, 15);
  test::ModFileBuilder mod;
  mod.orders = {0};
  EXPECT_EQ(LoadModuleBytes(xm.Build()).detected, "XM");
  EXPECT_EQ(LoadModuleBytes(stm.Build()).detected, "STM");
  EXPECT_EQ(LoadModuleBytes(c669.Build()).detected, "669");
  EXPECT_EQ(LoadModuleBytes(S3mBytes()).detected, "S3M");
  EXPECT_EQ(LoadModuleBytes(MtmBytes(1)).detected, "MTM");
  EXPECT_EQ(LoadModuleBytes(mod.Build()).detected, "MOD");
}

TEST(Detection, AByteTwoAtOffsetThirtyMakesAnStmFile) {
  // STM is asked before MTM, S3M and MOD, and looks only at byte 30 (and
  // at the eight bytes from 21, which a real STM file never has as
  // "!SCREAM!", its tag standing at 20).
  std::string s3m = S3mBytes();
  s3m[30] = 2;
  EXPECT_EQ(LoadModuleBytes(s3m).detected, "STM");
  // Byte 30 of an MTM file is its sample count.
  EXPECT_EQ(LoadModuleBytes(MtmBytes(2)).detected, "STM");
  EXPECT_EQ(LoadModuleBytes(MtmBytes(3)).detected, "MTM");
  test::ModFileBuilder mod;
  mod.orders = {0};
  mod.samples = {{std::string(10, 'x') + '\x02', test::SquareWave(32, 50)}};
  EXPECT_EQ(LoadModuleBytes(mod.Build()).detected, "STM");

  std::string tagged = s3m;
  tagged.replace(21, 8, "!SCREAM!");
  EXPECT_EQ(LoadModuleBytes(tagged).detected, "S3M");
  EXPECT_TRUE(LoadModuleBytes(tagged).ok);
}

TEST(Detection, SignaturesAtTheStartComeFirst) {
  // An XM file whose title puts a 2 at offset 30 is still an XM file.
  test::XmFileBuilder xm;
  xm.title = std::string(13, 'a') + '\x02';
  xm.orders = {0};
  xm.Cell(0, 0, 0) = {49};
  std::string bytes = xm.Build();
  ASSERT_EQ(bytes[30], 2);
  EXPECT_EQ(LoadModuleBytes(bytes).detected, "XM");
  // "if" and "JN" are asked about first of all.
  std::string s3m = S3mBytes();
  s3m.replace(0, 2, "JN");
  EXPECT_EQ(LoadModuleBytes(s3m).detected, "669");
}

TEST(Detection, FilesTooShortForEveryRuleAreRefused) {
  for (const char* bytes : {"", "i", "JN", "Extended Module", "MT"}) {
    test::LoadedModule m = LoadModuleBytes(bytes);
    EXPECT_FALSE(m.ok) << bytes;
  }
  EXPECT_EQ(LoadModuleBytes("MTM").detected, "MTM");
  EXPECT_FALSE(LoadModuleBytes("MTM").ok);
}

}  // namespace
}  // namespace pellora
