#include "app/package_location.h"

#include <cstring>
#include <vector>

#include "app/package_slot.h"
#include "document/diapo_doc.h"
#include "platform/base/byte_order.h"
#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora {
namespace {

uint32_t U32(const std::string& s, size_t at) { return GetU32LE(s.data() + at); }
uint16_t U16(const std::string& s, size_t at) { return GetU16LE(s.data() + at); }

bool MagicAt(const std::string& data, size_t at) {
  return at + kPackageMagicLength <= data.size() &&
         EqualsIgnoreCaseAscii(std::string_view(data).substr(at, kPackageMagicLength), kPackageMagic);
}

// The end of the last section's raw data of a PE image, and the end of its
// headers; nullopt when the file is not a PE image.
std::optional<std::pair<size_t, size_t>> PeLayout(const std::string& data) {
  if (data.size() < 64 || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
  size_t pe = U32(data, 0x3C);
  if (pe > data.size() || data.size() - pe < 24 || std::memcmp(data.data() + pe, "PE\0\0", 4) != 0)
    return std::nullopt;
  size_t sections = U16(data, pe + 6);
  size_t optionalSize = U16(data, pe + 20);
  size_t table = pe + 24 + optionalSize;
  size_t end = 0;
  for (size_t i = 0; i < sections; ++i) {
    size_t entry = table + i * 40;
    if (entry + 40 > data.size()) return std::nullopt;
    uint64_t rawEnd = uint64_t(U32(data, entry + 20)) + U32(data, entry + 16);
    if (rawEnd > end) end = size_t(rawEnd);
  }
  return std::make_pair(end, table + sections * 40);
}

}  // namespace

std::optional<size_t> FindPackageSlot(const std::string& image) {
  std::string marker = PackageSlotMarker();
  size_t at = image.find(marker);
  if (at == std::string::npos || at + marker.size() + 4 > image.size()) return std::nullopt;
  return at + marker.size();
}

std::optional<PackageLocation> LocatePackage(const std::string& path) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return std::nullopt;
  long long length = file.Length();
  if (length < 0) return std::nullopt;
  // A show file holds the player (a few megabytes at most) before its
  // package; the search needs only that part, the package itself stays on
  // disk.
  std::string head;
  char first[kPackageMagicLength] = {};
  long long got = file.Read(first, sizeof first);
  if (got < 0) return std::nullopt;
  head.assign(first, size_t(got));
  if (MagicAt(head, 0)) return PackageLocation{ShowFileKind::Bare, 0};

  constexpr size_t kSearchLimit = 64u << 20;
  size_t want = size_t(std::min<long long>(length, kSearchLimit));
  head.resize(want);
  if (file.Seek(0, CFile::Origin::Begin) < 0) return std::nullopt;
  got = file.Read(head.data(), want);
  if (got < 0) return std::nullopt;
  head.resize(size_t(got));

  if (auto slot = FindPackageSlot(head)) return PackageLocation{ShowFileKind::SelfRunning, U32(head, *slot)};

  if (auto pe = PeLayout(head)) {
    auto [end, headersEnd] = *pe;
    std::string probe(kPackageMagicLength, '\0');
    if (file.Seek(static_cast<long long>(end), CFile::Origin::Begin) >= 0 &&
        file.Read(probe.data(), probe.size()) == static_cast<long long>(probe.size()) && MagicAt(probe, 0))
      return PackageLocation{ShowFileKind::WindowsExecutable, uint32_t(end)};
    // Some builders leave padding or a signature before the package.
    for (size_t at = head.find_first_of("Pp", headersEnd); at != std::string::npos;
         at = head.find_first_of("Pp", at + 1))
      if (MagicAt(head, at)) return PackageLocation{ShowFileKind::WindowsExecutable, uint32_t(at)};
    return PackageLocation{ShowFileKind::WindowsExecutable, uint32_t(end)};
  }
  return PackageLocation{ShowFileKind::Unknown, 0};
}

}  // namespace pellora
