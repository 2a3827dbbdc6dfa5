// The archive's byte encoding: strings in their three length forms and the
// 16-bit form, object tags and the load table, and the straight-from-file
// reads that blobs make after re-synchronising.
#include <gtest/gtest.h>

#include "platform/os/file.h"
#include "platform/storage/archive.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using test::Bytes;
using test::TempDir;

// A minimal registered class for the object-reference tests.
class CProbe : public CObject {
 public:
  static const CRuntimeClass classCProbe;
  const CRuntimeClass* GetRuntimeClass() const override { return &classCProbe; }
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) ar.WriteWord(value);
    else value = ar.ReadWord();
  }
  uint16_t value = 0;
};
std::unique_ptr<CObject> CreateProbe() { return std::make_unique<CProbe>(); }
const CRuntimeClass CProbe::classCProbe = {"CProbe", 3, &CreateProbe};
const CRuntimeClass* const kProbeClasses[] = {&CProbe::classCProbe};

class ArchiveTest : public ::testing::Test {
 protected:
  // Opens an archive in loading mode over the given bytes.
  CArchive& Load(const std::string& bytes) {
    test::WriteFile(dir_.File("data"), bytes);
    EXPECT_TRUE(file_.Open(dir_.File("data"), CFile::Mode::Read));
    archive_ = std::make_unique<CArchive>(file_, CArchive::Mode::Load);
    archive_->SetClasses(kProbeClasses);
    return *archive_;
  }
  template <class Body>
  std::string Store(Body body) {
    CFile out;
    EXPECT_TRUE(out.Open(dir_.File("out"), CFile::Mode::CreateWrite));
    {
      CArchive ar(out, CArchive::Mode::Store);
      body(ar);
      ar.Close();
    }
    out.Close();
    return test::ReadFile(dir_.File("out"));
  }

  TempDir dir_;
  CFile file_;
  std::unique_ptr<CArchive> archive_;
};

TEST_F(ArchiveTest, StringLengthFormsRoundTrip) {
  for (size_t length : {size_t(0), size_t(1), size_t(254), size_t(255), size_t(0xFFFD), size_t(0xFFFE),
                        size_t(70000)}) {
    std::string text(length, 'x');
    std::string stored = Store([&](CArchive& ar) { ar.WriteString(text); });
    size_t prefix = length < 0xFF ? 1 : length < 0xFFFE ? 3 : 7;
    ASSERT_EQ(stored.size(), prefix + length) << length;
    EXPECT_EQ(Load(stored).ReadString(), text) << length;
  }
}

TEST_F(ArchiveTest, StringOf255CharactersUsesTheWordForm) {
  std::string stored = Store([](CArchive& ar) { ar.WriteString(std::string(255, 'a')); });
  EXPECT_EQ(stored.substr(0, 3), std::string("\xFF\xFF\x00", 3));
}

TEST_F(ArchiveTest, WideStringIsConvertedToTheCodePage) {
  // 0xFF 0xFE 0xFF marks 16-bit characters; then "é€?" as UTF-16LE, with a
  // character the code page cannot hold.
  Bytes b;
  b.Byte(0xFF).Word(0xFFFE).Byte(3).Word(0x00E9).Word(0x20AC).Word(0x4E2D);
  CArchive& ar = Load(b.str() + "tail");
  EXPECT_EQ(ar.ReadString(), "\xE9\x80?");
  char rest[4];
  ar.ReadExact(rest, 4);
  EXPECT_EQ(std::string(rest, 4), "tail");
}

TEST_F(ArchiveTest, ShortReadsFailWithEndOfFile) {
  Bytes b;
  b.Byte(5).Raw("abc");  // says five characters, holds three
  try {
    Load(b.str()).ReadString();
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.cause(), CArchiveException::Cause::EndOfFile);
  }
  EXPECT_THROW(Load("\x01").ReadWord(), CArchiveException);
  EXPECT_THROW(Load("\x01\x02\x03").ReadDWord(), CArchiveException);
}

TEST_F(ArchiveTest, HugeStringLengthIsRefusedBeforeAllocating) {
  Bytes b;
  b.Byte(0xFF).Word(0xFFFF).DWord(0xFFFFFFF0u).Raw("short");
  EXPECT_THROW(Load(b.str()).ReadString(), CArchiveException);
}

TEST_F(ArchiveTest, ObjectTagsFollowTheLoadTable) {
  Bytes b;
  b.Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(11);  // class 1, object 2
  b.Word(0x8001).Word(22);                                // object 3 of class 1
  b.Word(0x0002);                                         // object 2 again
  b.Word(0x0000);                                         // null
  CArchive& ar = Load(b.str());
  auto first = std::dynamic_pointer_cast<CProbe>(ar.ReadObject());
  auto second = std::dynamic_pointer_cast<CProbe>(ar.ReadObject());
  auto again = ar.ReadObject();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->value, 11);
  EXPECT_EQ(second->value, 22);
  EXPECT_EQ(again, first);
  EXPECT_EQ(ar.ReadObject(), nullptr);
}

TEST_F(ArchiveTest, WriterUsesNewClassThenClassReferenceTags) {
  CProbe a, b, c;
  std::string stored = Store([&](CArchive& ar) {
    ar.WriteObject(&a);
    ar.WriteObject(&b);
    ar.WriteObject(&c);
    ar.WriteObject(&a);
  });
  Bytes expected;
  expected.Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(0);
  expected.Word(0x8001).Word(0).Word(0x8001).Word(0).Word(0x0002);
  EXPECT_EQ(stored, expected.str());
}

struct BadStream {
  const char* name;
  std::string bytes;
  CArchiveException::Cause cause;
};

TEST_F(ArchiveTest, MalformedObjectReferencesAreArchiveErrors) {
  std::string name63(63, 'C'), name64(64, 'C');
  std::vector<BadStream> cases = {
      {"unregistered class", Bytes().Word(0xFFFF).Word(1).Word(7).Raw("CNobody").str(),
       CArchiveException::Cause::BadClass},
      {"class name of 64 characters", Bytes().Word(0xFFFF).Word(1).Word(64).Raw(name64).str(),
       CArchiveException::Cause::BadClass},
      {"unknown class of 63 characters", Bytes().Word(0xFFFF).Word(1).Word(63).Raw(name63).str(),
       CArchiveException::Cause::BadClass},
      {"class names compare with case", Bytes().Word(0xFFFF).Word(3).Word(6).Raw("cprobe").str(),
       CArchiveException::Cause::BadClass},
      {"wrong schema", Bytes().Word(0xFFFF).Word(2).Word(6).Raw("CProbe").Word(1).str(),
       CArchiveException::Cause::BadSchema},
      {"object tag beyond the table", Bytes().Word(0x0005).str(), CArchiveException::Cause::BadIndex},
      {"class tag beyond the table", Bytes().Word(0x8003).str(), CArchiveException::Cause::BadIndex},
      {"object tag naming a class", Bytes().Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(1).Word(1).str(),
       CArchiveException::Cause::BadClass},
      {"class tag naming an object",
       Bytes().Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(1).Word(0x8002).str(),
       CArchiveException::Cause::BadClass},
  };
  for (const BadStream& c : cases) {
    CArchive& ar = Load(c.bytes);
    try {
      for (int i = 0; i < 3; ++i) ar.ReadObject();
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.cause(), c.cause) << c.name;
    }
  }
}

TEST_F(ArchiveTest, LoadTableLimitAppliesToNewClassDescriptionsOnly) {
  // 32765 objects of one class fill the table to 0x7FFE entries with the
  // null entry and the class; more objects of that class are still fine,
  // a new class description is not.
  Bytes b;
  b.Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(0);
  for (int i = 0; i < 0x7FFE; ++i) b.Word(0x8001).Word(0);
  b.Word(0xFFFF).Word(3).Word(6).Raw("CProbe").Word(0);
  CArchive& ar = Load(b.str());
  for (int i = 0; i < 0x7FFF; ++i) ar.ReadObject();
  try {
    ar.ReadObject();
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.cause(), CArchiveException::Cause::BadIndex);
  }
}

TEST_F(ArchiveTest, FlushHandsUnreadBytesBackToTheFile) {
  Bytes b;
  b.Word(0x1234);
  for (int i = 0; i < 1000; ++i) b.Byte(uint8_t(i));
  CArchive& ar = Load(b.str());
  EXPECT_EQ(ar.ReadWord(), 0x1234);  // the buffer now holds 510 more bytes
  ar.Flush();
  EXPECT_EQ(file_.Position(), 2);
  uint8_t direct[100];
  ASSERT_EQ(file_.Read(direct, sizeof direct), 100);
  EXPECT_EQ(direct[99], 99);
  EXPECT_EQ(ar.ReadByte(), 100);  // the archive continues after the direct read
  EXPECT_EQ(ar.BytesLeft(), 899u);
}

TEST_F(ArchiveTest, LargeReadsGiveTheSameBytesAsBufferedOnes) {
  std::string data;
  for (int i = 0; i < 5000; ++i) data += char(i * 7);
  CArchive& ar = Load(data);
  std::string got(5000, '\0');
  ar.ReadExact(got.data(), 3);
  ar.ReadExact(got.data() + 3, 4000);
  ar.ReadExact(got.data() + 4003, 997);
  EXPECT_EQ(got, data);
  EXPECT_THROW(ar.ReadByte(), CArchiveException);
}

}  // namespace
}  // namespace pellora
