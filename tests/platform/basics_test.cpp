// The basics of the platform: multiply-divide rounding, the random
// generator, text conversion and files.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/mul_div.h"
#include "platform/base/random.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);     // 7.5
  EXPECT_EQ(MulDiv(10, 1, 4), 3);     // 2.5
  EXPECT_EQ(MulDiv(10, 1, 3), 3);     // 3.33
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);   // -7.5
  EXPECT_EQ(MulDiv(10, 3, -4), -8);
  EXPECT_EQ(MulDiv(-10, -3, 4), 8);
  EXPECT_EQ(MulDiv(2000000000, 2, 4), 1000000000);  // 64-bit intermediate
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);  // overflow
}

TEST(Random, FollowsTheRunTimeGeneratorSequence) {
  RandomGenerator random(1);
  EXPECT_EQ(random.Next(), 41);
  EXPECT_EQ(random.Next(), 18467);
  EXPECT_EQ(random.Next(), 6334);
  EXPECT_EQ(random.Next(), 26500);
  random.Seed(0);
  for (int i = 0; i < 1000; ++i) {
    int r = random.Next();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST(Text, CodePageRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");  // € é
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");                  // not in the code page
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");                          // cut sequence
  EXPECT_TRUE(EqualsIgnoreCaseAscii("pellora 1.00", "PELLORA 1.00"));
  EXPECT_FALSE(EqualsIgnoreCaseAscii("PELLORA 1.01", "PELLORA 1.00"));
}

TEST(Files, ExistenceIgnoresDirectories) {
  test::TempDir dir;
  EXPECT_FALSE(FileExists(dir.path().string()));
  EXPECT_FALSE(FileExists(""));
  test::WriteFile(dir.File("a"), "x");
  EXPECT_TRUE(FileExists(dir.File("a")));
  EXPECT_FALSE(DeleteFileNormal(dir.path().string()));
  EXPECT_TRUE(std::filesystem::exists(dir.path()));
}

TEST(Files, DeleteResetsReadOnlyFiles) {
  test::TempDir dir;
  test::WriteFile(dir.File("ro"), "x");
  std::filesystem::permissions(dir.File("ro"), std::filesystem::perms::owner_read);
  EXPECT_TRUE(DeleteFileNormal(dir.File("ro")));
  EXPECT_FALSE(FileExists(dir.File("ro")));
}

TEST(Files, UniqueTemporaryFilesAreNewAndPrivate) {
  test::TempDir dir;
  std::string folder = dir.path().string() + "/";
  std::string a = CreateUniqueTempFile(folder, "dia");
  std::string b = CreateUniqueTempFile(folder, "dia");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(FileTitle(a).substr(0, 3), "dia");
  EXPECT_EQ(a.substr(a.size() - 4), ".tmp");
  auto perms = std::filesystem::status(a).permissions();
  EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
  EXPECT_EQ(CreateUniqueTempFile(folder + "missing/", "dia"), "");
  CFile f;
  EXPECT_FALSE(f.Open(a, CFile::Mode::CreateExclusive));
}

TEST(Files, WritesInPiecesAndReadsBack) {
  test::TempDir dir;
  std::string data(100000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 31);
  CFile f;
  ASSERT_TRUE(f.Open(dir.File("p"), CFile::Mode::CreateWrite));
  ASSERT_TRUE(WriteInPieces(f, reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  f.Close();
  EXPECT_EQ(test::ReadFile(dir.File("p")), data);
  EXPECT_EQ(FileTitle("C:\\Shows\\plage.jpg"), "plage.jpg");
  EXPECT_EQ(FileTitle("/tmp/x/y.bmp"), "y.bmp");
}

}  // namespace
}  // namespace pellora
