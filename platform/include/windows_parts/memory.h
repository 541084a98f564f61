// Local memory blocks, as the object store hands out record buffers.
#pragma once

typedef HANDLE HLOCAL;

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

HLOCAL LocalAlloc(UINT uFlags, UINT uBytes);
// Blocks are fixed but may always move when they grow.
HLOCAL LocalReAlloc(HLOCAL hMem, UINT uBytes, UINT uFlags);
UINT LocalSize(HLOCAL hMem);
// Returns null on success, the block itself on failure.
HLOCAL LocalFree(HLOCAL hMem);
