// The sub-commands of the pellora tool. Each command file registers itself
// with a static CommandRegistration; pellora_main.cpp dispatches.
#pragma once

#include <string>
#include <vector>

namespace pellora::tools {

// Exit statuses of every command.
enum : int { kExitOk = 0, kExitBadFile = 1, kExitUsage = 2 };

struct Command {
  const char* name;
  const char* usage;    // the arguments after the command's name
  const char* summary;  // one line for --help
  int (*run)(const std::vector<std::string>& args);
};

class CommandRegistration {
 public:
  explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();

// Prints "pellora: <message>" on standard error and returns status.
int Fail(int status, const std::string& message);

}  // namespace pellora::tools
