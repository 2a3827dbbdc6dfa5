// One reader of the command lines of every pellora command: options with or
// without a value, and one operand.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

namespace pellora::tools {

// Reads a WxH value of the option named (each side 1 to 16384); the
// error names the option, empty when size is set.
std::string ParseScreenSize(std::string_view option, const std::string& text, Size& size);
// True for an argument that can only be meant as a WxH value.
bool LooksLikeScreenSize(const std::string& text);

class ArgumentParser {
 public:
  // Receives an option's value; returns the error to show after
  // "COMMAND: ", or an empty string when the value is taken.
  using Taker = std::function<std::string(const std::string& name, const std::string& value)>;

  // command names the messages; operand is what the lone argument is
  // called in them ("FILE", "SHOW.json").
  ArgumentParser(std::string command, std::string operand);

  ArgumentParser& Flag(std::string_view name, bool& set);
  ArgumentParser& Value(std::initializer_list<std::string_view> names, std::string& value);
  ArgumentParser& Value(std::initializer_list<std::string_view> names, Taker take);

  // Fills operand and the options; on a usage error returns its message,
  // ready for Fail().
  std::optional<std::string> Parse(const std::vector<std::string>& args, std::string& operand) const;

 private:
  struct Option {
    std::vector<std::string_view> names;
    bool* flag = nullptr;
    Taker take;
  };
  const Option* Find(const std::string& name) const;

  std::string command_;
  std::string operand_;
  std::vector<Option> options_;
};

}  // namespace pellora::tools
