#include "platform/os/system.h"

namespace pellora {

const char* SystemName() { return "windows"; }
const char* ProgramSuffix() { return ".exe"; }

}  // namespace pellora
