// Local memory: LocalAlloc and friends over malloc, each block with a
// header that remembers its size.
#include <cstdlib>
#include <cstring>

#include <windows.h>

namespace {

// Keeps the caller's part of the block aligned for any type.
struct alignas(16) BlockHeader {
  size_t size;
};

BlockHeader* HeaderOf(HLOCAL block) { return static_cast<BlockHeader*>(block) - 1; }

}  // namespace

HLOCAL LocalAlloc(UINT uFlags, UINT uBytes) {
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + uBytes));
  if (!header) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  header->size = uBytes;
  if (uFlags & LMEM_ZEROINIT) std::memset(header + 1, 0, uBytes);
  return header + 1;
}

HLOCAL LocalReAlloc(HLOCAL hMem, UINT uBytes, UINT uFlags) {
  if (!hMem) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const size_t old = HeaderOf(hMem)->size;
  auto* header = static_cast<BlockHeader*>(std::realloc(HeaderOf(hMem), sizeof(BlockHeader) + uBytes));
  if (!header) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  header->size = uBytes;
  if ((uFlags & LMEM_ZEROINIT) && uBytes > old) std::memset(reinterpret_cast<char*>(header + 1) + old, 0, uBytes - old);
  return header + 1;
}

UINT LocalSize(HLOCAL hMem) { return hMem ? static_cast<UINT>(HeaderOf(hMem)->size) : 0; }

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem) std::free(HeaderOf(hMem));
  return nullptr;
}
