#include "tools/arguments.h"

#include <algorithm>

namespace pellora::tools {

ArgumentParser::ArgumentParser(std::string command, std::string operand)
    : command_(std::move(command)), operand_(std::move(operand)) {}

ArgumentParser& ArgumentParser::Flag(std::string_view name, bool& set) {
  options_.push_back({{name}, &set, {}});
  return *this;
}

ArgumentParser& ArgumentParser::Value(std::initializer_list<std::string_view> names, std::string& value) {
  return Value(names, [&value](const std::string&, const std::string& v) {
    value = v;
    return std::string();
  });
}

ArgumentParser& ArgumentParser::Value(std::initializer_list<std::string_view> names, Taker take) {
  options_.push_back({names, nullptr, std::move(take)});
  return *this;
}

const ArgumentParser::Option* ArgumentParser::Find(const std::string& name) const {
  for (const Option& o : options_)
    if (std::find(o.names.begin(), o.names.end(), name) != o.names.end()) return &o;
  return nullptr;
}

std::optional<std::string> ArgumentParser::Parse(const std::vector<std::string>& args, std::string& operand) const {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (const Option* option = Find(a)) {
      if (option->flag) {
        *option->flag = true;
        continue;
      }
      if (i + 1 >= args.size()) return command_ + ": " + a + " needs a value";
      std::string error = option->take(a, args[++i]);
      if (!error.empty()) return command_ + ": " + error;
    } else if (!a.empty() && a[0] == '-') {
      return command_ + ": unknown option " + a;
    } else if (operand.empty()) {
      operand = a;
    } else {
      return command_ + ": only one " + operand_;
    }
  }
  return std::nullopt;
}

}  // namespace pellora::tools
