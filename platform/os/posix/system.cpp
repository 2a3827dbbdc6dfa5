#include "platform/os/system.h"

namespace pellora {

const char* SystemName() { return "linux"; }
const char* ProgramSuffix() { return ""; }

}  // namespace pellora
