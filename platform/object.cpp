#include "platform/object.h"

#include <cstring>
#include <vector>

namespace pellora {
namespace {
std::vector<const CRuntimeClass*>& Registry() {
  static std::vector<const CRuntimeClass*> classes;
  return classes;
}
}  // namespace

const CRuntimeClass* CRuntimeClass::Find(std::string_view name) {
  for (const CRuntimeClass* c : Registry())
    if (name == c->className) return c;
  return nullptr;
}

RuntimeClassRegistration::RuntimeClassRegistration(const CRuntimeClass* runtimeClass) {
  Registry().push_back(runtimeClass);
}

void CObject::Serialize(CArchive&) {}

}  // namespace pellora
