// The framework's object array serialisation: a WORD count, then one object
// reference per element.
#pragma once

#include <memory>
#include <vector>

#include "platform/storage/archive.h"

namespace pellora {

template <class T>
using CObArray = std::vector<std::shared_ptr<T>>;

template <class T>
void SerializeObArray(CArchive& archive, CObArray<T>& array) {
  if (archive.IsStoring()) {
    if (array.size() > 0xFFFF) throw CArchiveException(CArchiveException::Cause::Generic);
    archive.WriteWord(uint16_t(array.size()));
    for (const auto& element : array) archive.WriteObject(element.get());
    return;
  }
  uint16_t count = archive.ReadWord();
  array.clear();
  array.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    std::shared_ptr<CObject> object = archive.ReadObject();
    // The player walks the array as elements of T: anything else is a
    // stream it cannot play.
    auto element = std::dynamic_pointer_cast<T>(object);
    if (object && !element) throw CArchiveException(CArchiveException::Cause::BadClass);
    array.push_back(std::move(element));
  }
}

}  // namespace pellora
