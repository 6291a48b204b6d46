#pragma once
// Address-space limits for tests that run a child out of memory (fork, then limit, then work):
// setrlimit(RLIMIT_AS) counts every mapping, so the limit is set relative to what the process
// already maps.
#include <cstddef>

namespace testsupport {

// A size line of /proc/self/status ("VmSize:", "VmRSS:") in bytes, or 0 when it cannot be read.
size_t StatusBytes(const char* field);

// The process's address space in bytes (VmSize), or 0 when it cannot be read.
inline size_t AddressSpace() { return StatusBytes("VmSize:"); }

// Limits this process's address space to `extra` bytes more than it maps now; false when the
// size cannot be read or the limit not set.
bool LimitAddressSpace(size_t extra);

}  // namespace testsupport
