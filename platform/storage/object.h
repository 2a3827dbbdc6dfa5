// Serialisable objects described by run-time class name and schema, as the
// archive creates them while it reads an object stream.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace pellora {

class CArchive;
class CObject;

// Schema of classes that are creatable but never stored as objects.
constexpr uint16_t kNoSchema = 0xFFFF;

struct CRuntimeClass {
  const char* className;
  uint16_t schema;
  std::unique_ptr<CObject> (*create)();  // null when not creatable by name
};

// The classes a stream may hold, as the code that reads it lists them.
using ClassTable = std::span<const CRuntimeClass* const>;

// The class of that exact, case-sensitive name in the table, or null.
const CRuntimeClass* FindClass(ClassTable classes, std::string_view name);

class CObject {
 public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const = 0;
  virtual void Serialize(CArchive& archive);
  bool IsKindOf(const CRuntimeClass* runtimeClass) const {
    return GetRuntimeClass() == runtimeClass;
  }
};

}  // namespace pellora
