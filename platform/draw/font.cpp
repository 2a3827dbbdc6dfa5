#include "platform/draw/font.h"

namespace pellora {

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFont(int height, int weight, bool italic, const std::string& faceName) {
  face_ = OpenFontFace(height, weight, italic, faceName);
  return face_ != nullptr;
}

void CFont::DeleteObject() { face_.reset(); }

int CFont::Height() const { return face_ ? face_->Height() : 0; }

int CFont::Ascent() const { return face_ ? face_->Ascent() : 0; }

Size CFont::GetTextExtent(std::string_view text) const { return face_ ? face_->TextExtent(text) : Size{}; }

}  // namespace pellora
