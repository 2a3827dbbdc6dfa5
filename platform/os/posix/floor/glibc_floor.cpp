// The portable Linux programs link the C++ run-time statically, and it
// calls two functions that glibc only has from 2.35: the unwinder asks for
// an address's unwinding tables (_dl_find_object, 2.35) and the random
// device can draw from arc4random (2.36). These definitions, linked into
// each program, do the same with older calls, so that the programs run
// with glibc 2.34.
#include <dlfcn.h>
#include <link.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

struct Search {
  uintptr_t address;
  dl_find_object* result;
  bool found;
};

// Fills the result from the loaded object whose segments hold the address.
int Visit(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  uintptr_t start = UINTPTR_MAX, end = 0;
  bool holds = false;
  const void* frames = nullptr;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
    if (segment.p_type == PT_LOAD) {
      if (search->address >= begin && search->address - begin < segment.p_memsz) holds = true;
      if (begin < start) start = begin;
      if (begin + segment.p_memsz > end) end = begin + segment.p_memsz;
    } else if (segment.p_type == PT_GNU_EH_FRAME) {
      frames = reinterpret_cast<const void*>(begin);
    }
  }
  if (!holds) return 0;
  search->found = frames != nullptr;
  *search->result = dl_find_object{};
  search->result->dlfo_map_start = reinterpret_cast<void*>(start);
  search->result->dlfo_map_end = reinterpret_cast<void*>(end);
  search->result->dlfo_eh_frame = const_cast<void*>(frames);
  return 1;
}

}  // namespace

extern "C" int _dl_find_object(void* address, dl_find_object* result) noexcept {
  Search search{reinterpret_cast<uintptr_t>(address), result, false};
  dl_iterate_phdr(&Visit, &search);
  return search.found ? 0 : -1;
}

// Four bytes of the kernel's randomness; there is no failure to report.
extern "C" uint32_t arc4random() noexcept {
  uint32_t value = 0;
  while (getrandom(&value, sizeof value, 0) != ssize_t(sizeof value))
    if (errno != EINTR) std::abort();
  return value;
}
