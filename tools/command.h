// The sub-commands of the pellora tool: one table in pellora_main.cpp lists
// them in the order --help shows them.
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

int RunPlay(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunPack(const std::vector<std::string>& args);
int RunNew(const std::vector<std::string>& args);
int RunUnpack(const std::vector<std::string>& args);
int RunModInfo(const std::vector<std::string>& args);
int RunModRender(const std::vector<std::string>& args);

// Prints "pellora: <message>" on standard error and returns status.
int Fail(int status, const std::string& message);

}  // namespace pellora::tools
