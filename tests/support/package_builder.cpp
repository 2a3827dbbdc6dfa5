#include "tests/support/package_builder.h"

namespace pellora::test {

std::string DibRecord(const std::string& dib) {
  return Bytes().DWord(1).DWord(uint32_t(dib.size())).Raw(dib).str();
}

std::string MinimalPe(size_t padding) {
  Bytes b;
  b.Raw("MZ").Raw(std::string(0x3A, '\0')).DWord(0x40);
  b.Raw(std::string("PE\0\0", 4)).Word(0x14C).Word(1).DWord(0).DWord(0).DWord(0).Word(0xE0).Word(0x102);
  b.Raw(std::string(0xE0, '\0'));
  b.Raw(".text\0\0\0").DWord(0x200).DWord(0x1000).DWord(0x200).DWord(0x200).Raw(std::string(16, '\0'));
  std::string image = b.str();
  image.resize(0x400, '\0');
  return image + std::string(padding, '\0');
}

std::string PackageBytes::Build() const {
  Bytes b;
  b.Raw(magic).String(title).String(description).String(notice).Word(version);
  b.Word(backgroundKind).Word(placement).String(backgroundFileName).Word(horizontal);
  b.DWord(colourA).DWord(colourB).DWord(plain).String(storedPassword);
  b.String(musicFileName).Blob(music).Word(margin).Word(option).Word(loop);
  b.Raw(backgroundPicture.empty() ? Bytes().DWord(0).str() : DibRecord(backgroundPicture));
  b.Word(uint16_t(slides.size()));
  for (size_t i = 0; i < slides.size(); ++i) {
    const SlideBytes& s = slides[i];
    if (i == 0) b.Word(0xFFFF).Word(slideSchema).Word(12).Raw("CDiapoObject");
    else b.Word(0x8001);
    b.String(s.pictureFileName).String(s.pictureFormat).String(s.slideName).String(s.slideComment);
    b.DWord(s.thumb[0]).DWord(s.thumb[1]).DWord(s.smallThumb[0]).DWord(s.smallThumb[1]);
    b.DWord(s.pictureHeight).DWord(s.pictureWidth).Word(s.pictureDepth).Word(s.fit).Word(s.soundMode);
    b.String(s.soundFileName).Word(s.duration).Word(s.advance).Word(s.transition);
    b.Blob(s.picture).Blob(s.sound).Word(s.reserved);
    b.Raw(s.thumbnail.empty() ? Bytes().DWord(0).str() : DibRecord(s.thumbnail));
    b.Raw(s.smallThumbnail.empty() ? Bytes().DWord(0).str() : DibRecord(s.smallThumbnail));
  }
  return b.str();
}

}  // namespace pellora::test
