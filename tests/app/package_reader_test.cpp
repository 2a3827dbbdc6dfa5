// Reading show packages: the document and slide records, their defaults,
// the edge cases of the encoding, and the viewer's messages for packages
// that cannot be read.
#include <gtest/gtest.h>

#include "app/package_loader.h"
#include "document/diapo_doc.h"
#include "tests/support/package_builder.h"

namespace pellora {
namespace {

using test::PackageBytes;
using test::SlideBytes;

class PackageReaderTest : public ::testing::Test {
 protected:
  LoadResult Read(const std::string& bytes, uint32_t offset = 0, const std::string& prefix = "") {
    test::WriteFile(dir_.File("show"), prefix + bytes);
    message_.clear();
    LoadResult result = ReadShowPackage(doc_, dir_.File("show"), offset, message_);
    // The same package read from memory reads the same.
    if (offset != prefix.size()) return result;
    CDiapoDoc fromMemory;
    std::string memoryMessage;
    std::span<const uint8_t> memory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(ReadShowPackage(fromMemory, memory, "show", memoryMessage), result);
    EXPECT_EQ(memoryMessage, message_);
    if (result == LoadResult::Loaded) {
      EXPECT_EQ(fromMemory.title, doc_.title);
      EXPECT_EQ(fromMemory.slides.size(), doc_.slides.size());
      EXPECT_EQ(fromMemory.musicSize, doc_.musicSize);
    }
    return result;
  }
  test::TempDir dir_;
  CDiapoDoc doc_;
  std::string message_;
};

TEST(DocumentDefaults, BeforeLoading) {
  CDiapoDoc doc;
  EXPECT_EQ(doc.loopShow, 1);
  EXPECT_EQ(doc.backgroundKind, BACKGROUND_GRADIENT);
  EXPECT_EQ(doc.gradientColourA, 0u);
  EXPECT_EQ(doc.gradientColourB, 0x800000u);  // blue 128
  EXPECT_EQ(doc.pictureOption, 1);
  EXPECT_TRUE(doc.slides.empty());
  CDiapoObject slide;
  EXPECT_EQ(slide.duration, 10);
  EXPECT_EQ(slide.slideReserved, 0xFFFF);
  EXPECT_EQ(slide.soundMode, SOUND_SHOW_MUSIC);
}

TEST_F(PackageReaderTest, ReadsEveryFieldOfATypicalPackage) {
  PackageBytes p;
  p.storedPassword = ScramblePassword("secret");
  p.backgroundPicture = test::SmallDib(5, 3, 8);
  SlideBytes s;
  s.thumbnail = test::SmallDib(84, 58, 24);
  s.smallThumbnail = test::SmallDib(67, 46, 24);
  s.sound = "RIFFWAVE";
  s.soundFileName = "vagues.wav";
  s.soundMode = SOUND_SLIDE;
  p.slides = {s, SlideBytes{}, SlideBytes{}};
  p.slides[2].slideName = "Port";
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded) << message_;
  EXPECT_EQ(doc_.title, "Vacances");
  EXPECT_EQ(doc_.description, "Une semaine");
  EXPECT_EQ(doc_.notice, "(c) Famille");
  EXPECT_EQ(doc_.packageVersion, 1);
  EXPECT_EQ(doc_.backgroundKind, BACKGROUND_COLOUR);
  EXPECT_EQ(doc_.gradientColourB, 0x800000u);
  EXPECT_EQ(doc_.password, "secret");
  EXPECT_EQ(doc_.musicFileName, "theme.mp3");
  ASSERT_EQ(doc_.musicSize, 8u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(doc_.musicData.data()), 8), "ID3MUSIC");
  EXPECT_EQ(doc_.pictureMargin, 20);
  ASSERT_TRUE(doc_.backgroundPicture.m_hDIB);
  EXPECT_EQ(DIBWidth(doc_.backgroundPicture.m_hDIB.data()), 5);
  EXPECT_FALSE(doc_.backgroundPicture.m_palette.IsEmpty());
  ASSERT_EQ(doc_.slides.size(), 3u);
  const CDiapoObject& first = *doc_.slides[0];
  EXPECT_EQ(first.pictureFileName, "C:\\Photos\\plage.jpg");
  EXPECT_EQ(first.pictureFormat, "JPG");
  EXPECT_EQ(first.thumbnailSize[0], 84u);
  EXPECT_EQ(first.smallThumbnailSize[1], 46u);
  EXPECT_EQ(first.pictureHeight, 957u);
  EXPECT_EQ(first.pictureWidth, 1384u);
  EXPECT_EQ(first.pictureDepth, 24);
  EXPECT_EQ(first.pictureFit, FIT_KEEP_RATIO);
  EXPECT_EQ(first.soundMode, SOUND_SLIDE);
  EXPECT_EQ(first.soundFileName, "vagues.wav");
  EXPECT_EQ(first.duration, 6);
  EXPECT_EQ(first.transition, 16);
  EXPECT_EQ(first.pictureSize, 9u);
  EXPECT_EQ(first.soundSize, 8u);
  EXPECT_EQ(first.slideReserved, 0xFFFF);
  ASSERT_TRUE(first.thumbnail.m_hDIB);
  EXPECT_TRUE(first.thumbnail.m_palette.IsEmpty());  // 24-bit pictures carry no palette
  EXPECT_EQ(doc_.slides[2]->slideName, "Port");
  EXPECT_FALSE(doc_.slides[1]->thumbnail.m_hDIB);
}

TEST_F(PackageReaderTest, MagicIsComparedWithoutCaseButWithItsDigits) {
  PackageBytes p;
  p.magic = "pellora 1.00";
  EXPECT_EQ(Read(p.Build()), LoadResult::Loaded);
  p.magic = "PELLORA 1.01";
  EXPECT_EQ(Read(p.Build()), LoadResult::WrongMagic);
  EXPECT_EQ(message_, kLoadErrorMessage);
  EXPECT_EQ(doc_.loadFailed, 1);
  EXPECT_EQ(Read("PELLORA 1.0"), LoadResult::WrongMagic);  // fewer than twelve bytes
}

TEST_F(PackageReaderTest, PackageIsFoundAtItsOffset) {
  PackageBytes p;
  ASSERT_EQ(Read(p.Build(), 1000, std::string(1000, 'E')), LoadResult::Loaded);
  EXPECT_EQ(Read(p.Build(), 999, std::string(1000, 'E')), LoadResult::WrongMagic);
  // A player with nothing appended: the offset is the end of the file.
  EXPECT_EQ(Read("", 1000, std::string(1000, 'E')), LoadResult::WrongMagic);
}

TEST_F(PackageReaderTest, StringsOfEveryFormAndTheWideForm) {
  PackageBytes p;
  p.title = std::string(255, 'T');
  p.description = std::string(70000, 'D');
  std::string bytes = p.Build();
  ASSERT_EQ(Read(bytes), LoadResult::Loaded);
  EXPECT_EQ(doc_.title, std::string(255, 'T'));
  EXPECT_EQ(doc_.description.size(), 70000u);
  // The notice as 16-bit characters "Été".
  test::Bytes wide;
  wide.Byte(0xFF).Word(0xFFFE).Byte(3).Word(0xC9).Word('t').Word(0xE9);
  PackageBytes q;
  q.notice = "@@";
  std::string raw = q.Build();
  size_t at = raw.find(std::string("\x02@@", 3));
  raw.replace(at, 3, wide.str());
  ASSERT_EQ(Read(raw), LoadResult::Loaded);
  EXPECT_EQ(doc_.notice, "\xC9t\xE9");
}

TEST_F(PackageReaderTest, BlobsAndDibRecordsAtPieceBoundaries) {
  for (size_t size : {size_t(32767), size_t(32768), size_t(65535)}) {
    PackageBytes p;
    p.music.assign(size, '\0');
    for (size_t i = 0; i < size; ++i) p.music[i] = char(i * 13 + 1);
    SlideBytes s;
    s.picture = p.music.substr(0, size - 1);
    std::string dib = test::SmallDib(0x7FC5, 1, 8);
    // A record of 0x8001 bytes: a 0x8000-byte bitmap and one more byte.
    s.thumbnail = test::SmallDib(10909, 1, 24) + "Z";
    ASSERT_EQ(s.thumbnail.size(), 0x8001u);
    s.smallThumbnail = dib;
    p.slides = {s};
    ASSERT_EQ(Read(p.Build()), LoadResult::Loaded) << size;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(doc_.musicData.data()), doc_.musicSize), p.music);
    const CDiapoObject& slide = *doc_.slides[0];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(slide.pictureData.data()), slide.pictureSize), s.picture);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(slide.thumbnail.m_hDIB.data()), 0x8001), s.thumbnail);
    EXPECT_EQ(slide.smallThumbnail.m_hDIB.size(), dib.size());
    EXPECT_EQ(slide.slideReserved, 0xFFFF);  // the field after the blobs is read from the right place
  }
}

TEST_F(PackageReaderTest, EmptyBlobsMeanTheFileNameIsUsed) {
  PackageBytes p;
  p.music.clear();
  SlideBytes s;
  s.picture.clear();
  s.sound.clear();
  s.soundFileName = "vent.wav";
  p.slides = {s};
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.musicSize, 0u);
  EXPECT_FALSE(doc_.musicData);
  EXPECT_EQ(doc_.slides[0]->soundSize, 0u);
  EXPECT_FALSE(doc_.slides[0]->soundData);
  EXPECT_EQ(doc_.slides[0]->soundFileName, "vent.wav");
}

TEST_F(PackageReaderTest, SlideArraysOfZeroAndMany) {
  PackageBytes p;
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_TRUE(doc_.slides.empty());
  p.slides.resize(300);
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.slides.size(), 300u);
}

TEST_F(PackageReaderTest, PasswordIsUnscrambled) {
  PackageBytes p;
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.password, "");  // no lock
  p.storedPassword = ScramblePassword("Mot2Passe");
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.password, "Mot2Passe");
  // The stored form ends at a zero byte; at most 51 characters are kept.
  p.storedPassword = ScramblePassword("ab") + std::string(1, '\0') + ScramblePassword("cd");
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.password, "ab");
  p.storedPassword = ScramblePassword(std::string(60, 'z'));
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.password, std::string(51, 'z'));
  EXPECT_EQ(UnscramblePassword(ScramblePassword("\xE9t\xE9")), "\xE9t\xE9");
}

TEST_F(PackageReaderTest, WrongSlideSchemaOrClassIsAnUnexpectedFormat) {
  PackageBytes p;
  p.slides.resize(1);
  p.slideSchema = 2;
  EXPECT_EQ(Read(p.Build()), LoadResult::BadFormat);
  EXPECT_EQ(message_, "Unexpected file format.");
  EXPECT_TRUE(doc_.slides.empty());
  // A registered class that is not a slide cannot stand in the slide array.
  std::string raw = PackageBytes{}.Build();
  raw.resize(raw.size() - 2);
  raw += test::Bytes().Word(1).Word(0xFFFF).Word(0).Word(4).Raw("CDIB").DWord(0).str();
  EXPECT_EQ(Read(raw), LoadResult::BadFormat);
}

TEST_F(PackageReaderTest, LengthsBeyondTheFileAreTruncationNotAllocation) {
  PackageBytes p;
  std::string raw = p.Build();
  size_t at = raw.find("ID3MUSIC") - 4;
  raw.replace(at, 4, test::Bytes().DWord(0xFFFFFFF0u).str());
  EXPECT_EQ(Read(raw), LoadResult::BadFormat);
  // A DIB record claiming 4 GB.
  PackageBytes q;
  std::string r = q.Build();
  r.resize(r.size() - 6);  // drop the empty DIB record and the slide count
  r += test::Bytes().DWord(1).DWord(0xFFFFFFFFu).Raw("xx").str();
  EXPECT_EQ(Read(r), LoadResult::BadFormat);
}

TEST_F(PackageReaderTest, ReadingAgainReplacesTheSlides) {
  PackageBytes p;
  p.slides.resize(2);
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  std::weak_ptr<CDiapoObject> old = doc_.slides[0];
  p.slides.resize(1);
  ASSERT_EQ(Read(p.Build()), LoadResult::Loaded);
  EXPECT_EQ(doc_.slides.size(), 1u);
  EXPECT_TRUE(old.expired());
  doc_.DeleteContents();
  EXPECT_TRUE(doc_.slides.empty());
}

TEST_F(PackageReaderTest, MissingFileIsNotAFormatError) {
  message_.clear();
  EXPECT_EQ(ReadShowPackage(doc_, dir_.File("absent"), 0, message_), LoadResult::CannotOpen);
  EXPECT_EQ(message_, "");
}

// Every cut of a package gives the right message: the magic's when the
// magic itself is cut, the archive's everywhere else, and a complete read
// only when the cut falls exactly at the end.
TEST_F(PackageReaderTest, EveryTruncationIsReportedCleanly) {
  PackageBytes p;
  p.storedPassword = ScramblePassword("pw");
  p.backgroundPicture = test::SmallDib(3, 2, 4);
  SlideBytes s;
  s.thumbnail = test::SmallDib(4, 3, 24);
  s.smallThumbnail = test::SmallDib(2, 2, 1);
  s.sound = "snd";
  s.soundFileName = "a.wav";
  s.slideComment = std::string(300, 'c');
  p.slides = {s, s, s};
  std::string full = p.Build();
  for (size_t cut = 0; cut < full.size(); ++cut) {
    LoadResult r = Read(full.substr(0, cut));
    if (cut < 12) {
      ASSERT_EQ(r, LoadResult::WrongMagic) << cut;
      ASSERT_EQ(message_, kLoadErrorMessage);
    } else {
      ASSERT_EQ(r, LoadResult::BadFormat) << cut;
      ASSERT_EQ(message_, kBadFormatMessage);
      ASSERT_TRUE(doc_.slides.empty());
    }
  }
  EXPECT_EQ(Read(full), LoadResult::Loaded);
  EXPECT_EQ(Read(full + "trailing bytes are not read"), LoadResult::Loaded);
}

}  // namespace
}  // namespace pellora
