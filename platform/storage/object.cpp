#include "platform/storage/object.h"


namespace pellora {

const CRuntimeClass* FindClass(ClassTable classes, std::string_view name) {
  for (const CRuntimeClass* c : classes)
    if (name == c->className) return c;
  return nullptr;
}

void CObject::Serialize(CArchive&) {}

}  // namespace pellora
