// The backends this system offers, one table per system (posix/ and
// win32/ here), and the choice between them: PELLORA_BACKEND names the
// backend, the viewer or PELLORA_MONITOR the display it plays on.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace pellora {

// A backend this system offers, under the name PELLORA_BACKEND gives it.
struct BackendFactory {
  const char* name;
  // The displays it can play on, the primary first; false with a reason.
  bool (*listMonitors)(std::vector<Monitor>& monitors, std::string& error);
  // Starts it on monitors[index], or in a window when window is not empty;
  // null with a one-line reason.
  std::unique_ptr<Backend> (*create)(const std::vector<Monitor>& monitors, int index, Size window, std::string& error);
};

// The backends of this system, its default first.
std::span<const BackendFactory> SystemBackends();

// Where the viewer wants the show: a display (numbered from 1; 0 takes
// PELLORA_MONITOR, or the primary display), full screen or in a window.
struct ViewerOptions {
  int monitor = 0;
  // Not empty: a window of this size, the show played as on a screen of
  // that size.
  Size window{0, 0};
  // A window larger than the display is made to fit on it; otherwise it
  // is refused.
  bool fitWindow = false;
};

// Builds the backend named by PELLORA_BACKEND (the system's default when
// unset) on the display the viewer chose; null with a one-line reason
// when it cannot start or that display does not exist.
std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string& error, const ViewerOptions& viewer = {});

// The displays of the backend PELLORA_BACKEND names, the primary first;
// false with a one-line reason when they cannot be listed.
bool ListMonitors(std::vector<Monitor>& monitors, std::string& error);

}  // namespace pellora
