#include "tools/lib/show_input.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/package_loader.h"
#include "document/diapo_doc.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {

std::string OpenFailureReason(const std::string& path) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), ec);
  if (ec) return ec.message();
  if (std::filesystem::is_directory(status)) return "it is a folder";
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return std::error_code(errno, std::generic_category()).message();
  return "it cannot be read";
}

bool ShowInput::Open(const std::string& path, std::string& message) {
  if (!IsShowDescriptionPath(path)) {
    std::optional<PackageLocation> found = LocatePackage(path);
    if (!found) {
      message = "cannot open " + path + ": " + OpenFailureReason(path);
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
  return LoadShowInput(input, path, message);
}

std::unique_ptr<CDiapoDoc> LoadShowInput(const ShowInput& input, const std::string& path, std::string& message) {
  auto document = std::make_unique<CDiapoDoc>();
  // The player's own messages are for its viewers; the tool says in its
  // own words which file failed and how.
  std::string playerMessage;
  switch (ReadShowPackage(*document, input.Path(), input.Location().offset, playerMessage)) {
    case LoadResult::Loaded: return document;
    case LoadResult::CannotOpen: message = "cannot open " + path + ": " + OpenFailureReason(path); break;
    case LoadResult::WrongMagic: message = path + " is not a Pellora show: it holds no show package"; break;
    case LoadResult::BadFormat: message = path + ": the show package is damaged or cut short"; break;
    case LoadResult::ReadError: message = "cannot read " + path; break;
  }
  return nullptr;
}

}  // namespace pellora::tools
