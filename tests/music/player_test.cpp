#include <gtest/gtest.h>

#include "music/mod_player.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::TempDir;
using test::ModFileBuilder;

std::string BlankNamesModule() {
  ModFileBuilder b;
  b.samples = {{"", test::SquareWave(64, 50)}, {"   ", test::SquareWave(64, 50)}};
  b.orders = {0};
  b.Cell(0, 0, 0) = {428, 1, 0xF, 140};
  return b.Build();
}

TEST(ModPlayer, AFileOfNoKnownFormatLeavesThePlayerClosed) {
  TempDir dir;
  CModPlayer player(0);
  EXPECT_FALSE(player.Open(test::WriteModule(dir, "x.mod", "not a module at all")));
  EXPECT_FALSE(player.IsOpen());
  EXPECT_FALSE(player.Open(dir.File("missing.mod")));
  EXPECT_EQ(player.GetTitle(), "");
  EXPECT_EQ(player.GetSizeText(), "");
  EXPECT_EQ(player.GetInfoText(), "");
  EXPECT_TRUE(player.IsFinished());
  EXPECT_FALSE(player.Play());
}

TEST(ModPlayer, TitlesAndSizes) {
  TempDir dir;
  ModFileBuilder b;
  b.title = "\xe9t\xe9 indien";
  b.samples = {{"s", test::SquareWave(2048, 50)}};
  b.orders = {0};
  std::string path = test::WriteModule(dir, "Summer.mod", b.Build());
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(path));
  EXPECT_TRUE(player.IsOpen());
  EXPECT_EQ(player.GetTitle(), "\xc9t\xe9 indien");
  EXPECT_EQ(player.GetSizeText(), "MOD ProTracker - 4 Ko");
  EXPECT_EQ(player.GetFileTitle(), "Summer.mod");
  player.Close();
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.GetTitle(), "");

  ASSERT_TRUE(player.Open(test::WriteModule(dir, "blank.mod", BlankNamesModule())));
  EXPECT_EQ(player.GetTitle(), "(sans titre)");
  CMediaPlayer base(0);
  EXPECT_EQ(base.GetFileTitle(), "");
  EXPECT_TRUE(base.Open("c:\\music\\a.mod"));
  EXPECT_FALSE(base.Play());
}

TEST(ModPlayer, FileTitleFollowsEitherSeparator) {
  CModPlayer player(0);
  player.Open("C:\\songs\\tune.mod");
  EXPECT_EQ(player.GetFileTitle(), "tune.mod");
  player.Open("/tmp/dir/other.s3m");
  EXPECT_EQ(player.GetFileTitle(), "other.s3m");
}

TEST(ModInfo, BlankNamesLeaveTheInstrumentSectionEmpty) {
  TempDir dir;
  std::string path = test::WriteModule(dir, "blank.mod", BlankNamesModule());
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(path));
  std::string dashes(92, '-');
  std::string expected = "FICHIER MODULE MUSICAL\r\n" + dashes + "\r\n" + path +
                         "\r\nFormat : \"MOD ProTracker\"\r\nTitre : \"(sans titre)\"\r\n"
                         "Nombre de voix : 4\r\nNombre de portions : 1\r\nNombre d'instruments : 31\r\n"
                         "Nombre de patterns : 1\r\nNombre de tracks : 4\r\nVitesse : 125 BPM\r\n\r\n"
                         "INSTRUMENTS\r\n" + dashes + "\r\n\r\nCOMMENTAIRES\r\n" + dashes + "\r\n";
  EXPECT_EQ(player.GetInfoText(), expected);
  // The tempo line shows the engine's tempo at the time of the call.
  player.Engine().PlayTick(nullptr);
  EXPECT_NE(player.GetInfoText().find("Vitesse : 140 BPM\r\n"), std::string::npos);
}

TEST(ModInfo, NamedSamplesAndLongFileNames) {
  TempDir dir;
  ModFileBuilder b;
  b.title = "Song";
  b.samples = {{"kick", test::SquareWave(64, 50)}, {"", {}}, {"snare drum", test::SquareWave(64, 50)}};
  b.orders = {0};
  std::string name(200, 'n');
  std::string path = test::WriteModule(dir, name + ".mod", b.Build());
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(path));
  std::string text = player.GetInfoText();
  EXPECT_NE(text.find("\r\n" + path + "\r\n"), std::string::npos);
  EXPECT_NE(text.find("Titre : \"Song\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("INSTRUMENTS\r\n" + std::string(92, '-') + "\r\nkick\r\nsnare drum\r\n\r\nCOMMENTAIRES"),
            std::string::npos);
}

}  // namespace
}  // namespace pellora
