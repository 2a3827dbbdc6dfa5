#include "tools/arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pellora::tools {

namespace {
constexpr int kLargestSide = 16384;
}

std::string ParseScreenSize(std::string_view option, const std::string& text, Size& size) {
  std::string name(option);
  long long w = 0, h = 0;
  const char* end = text.data() + text.size();
  auto first = std::from_chars(text.data(), end, w);
  bool read = first.ec != std::errc::invalid_argument && first.ptr != end && *first.ptr == 'x';
  auto second = read ? std::from_chars(first.ptr + 1, end, h) : first;
  if (!read || second.ec == std::errc::invalid_argument || second.ptr != end || text[0] == '-' || first.ptr[1] == '-')
    return name + " must be WxH, for example 640x480, not \"" + text + "\"";
  bool fits = first.ec == std::errc() && second.ec == std::errc();
  if (!fits || w < 1 || h < 1 || w > kLargestSide || h > kLargestSide)
    return name + " " + text + ": width and height must be from 1 to " + std::to_string(kLargestSide);
  size = {int(w), int(h)};
  return {};
}

bool LooksLikeScreenSize(const std::string& text) {
  return !text.empty() && std::isdigit(uint8_t(text[0])) && text.find_first_not_of("0123456789xX") == std::string::npos;
}

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
