// Facts about the machine, sent with error reports and the start-up query.
#pragma once

#include <cstddef>

// Number of processors online.
int getProcessorCount();

// "%u-%u-%u-%lu": processor architecture (9 x86-64, 12 ARM64, 0 other),
// revision (model << 8 | stepping), level (family) and processor count,
// from cpuid. Written into output (size bytes, terminated); returns the
// characters written.
int getProcessorSignature(char* output, std::size_t size);

// The operating system's version: the major, minor and patch numbers of
// the running kernel (uname). Null outputs are skipped; returns 1 when the
// release could be read, else 0 (outputs left untouched).
int getWindowsVersion(unsigned* major, unsigned* minor, unsigned* build);
