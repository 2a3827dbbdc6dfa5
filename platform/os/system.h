// The system this program was built for, as the tools name it.
#pragma once

namespace pellora {

// "linux" or "windows".
const char* SystemName();
// What the system's program files end in: "" or ".exe".
const char* ProgramSuffix();

}  // namespace pellora
