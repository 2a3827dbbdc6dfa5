// Changing this process's environment, which the programs it starts inherit.
#pragma once

#include <optional>
#include <string>

namespace pellora {

// Sets the variable, or removes it when value is nullopt.
void ChangeEnvironment(const std::string& name, const std::optional<std::string>& value);

}  // namespace pellora
