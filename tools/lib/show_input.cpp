#include "tools/lib/show_input.h"

#include <cstdio>

#include "app/package_loader.h"
#include "document/diapo_doc.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {

bool ShowInput::Open(const std::string& path, std::string& message) {
  if (!IsShowDescriptionPath(path)) {
    std::optional<PackageLocation> found = LocatePackage(path);
    if (!found) {
      message = "cannot open " + path;
      return false;
    }
    path_ = path;
    location_ = *found;
    return true;
  }
  DescriptionRead read = ReadShowDescription(path);
  std::string problems = FormatProblems(path, read.problems);
  if (!read.document) {
    if (!problems.empty()) problems.pop_back();
    message = problems;
    return false;
  }
  std::fputs(problems.c_str(), stderr);
  if (!scratch_.Create() || !WritePackage(*read.document, scratch_.File(), message)) {
    if (message.empty()) message = "cannot make a temporary file for " + path;
    return false;
  }
  path_ = scratch_.ReopenPath();
  location_ = {ShowFileKind::Bare, 0};
  return true;
}

std::unique_ptr<CDiapoDoc> LoadShowFile(const std::string& path, PackageLocation& location, std::string& message) {
  ShowInput input;
  if (!input.Open(path, message)) return nullptr;
  location = input.Location();
  auto document = std::make_unique<CDiapoDoc>();
  if (ReadShowPackage(*document, input.Path(), location.offset, message) != LoadResult::Loaded) {
    if (message.empty()) message = "cannot open " + path;
    return nullptr;
  }
  return document;
}

}  // namespace pellora::tools
