// Serialisable objects registered by run-time class name and schema, as the
// archive creates them while it reads an object stream.
#pragma once

#include <cstdint>
#include <memory>
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

  // Registered classes, looked up by exact, case-sensitive name.
  static const CRuntimeClass* Find(std::string_view name);
};

// Registers a class for the lifetime of the program; define one per class
// as a static object next to the class's code.
class RuntimeClassRegistration {
 public:
  explicit RuntimeClassRegistration(const CRuntimeClass* runtimeClass);
};

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
