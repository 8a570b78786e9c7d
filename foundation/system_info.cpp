#include "foundation/system_info.h"

#include <cstdio>
#include <sys/utsname.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

// Architecture numbers as the Windows system information reports them.
constexpr unsigned kArchitectureAmd64 = 9;
constexpr unsigned kArchitectureArm64 = 12;

struct ProcessorFacts {
    unsigned architecture = 0, revision = 0, level = 0;
};

ProcessorFacts readProcessorFacts() {
    ProcessorFacts facts;
#if defined(__x86_64__) || defined(__i386__)
    facts.architecture = kArchitectureAmd64;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        unsigned family = (eax >> 8) & 0xF, model = (eax >> 4) & 0xF, stepping = eax & 0xF;
        if (family == 0xF) family += (eax >> 20) & 0xFF;
        if (family == 0x6 || family >= 0xF) model += ((eax >> 16) & 0xF) << 4;
        facts.level = family;
        facts.revision = (model << 8) | stepping;
    }
#elif defined(__aarch64__)
    facts.architecture = kArchitectureArm64;
#endif
    return facts;
}

} // namespace

int getProcessorCount() {
    long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<int>(count) : 1;
}

int getProcessorSignature(char* output, std::size_t size) {
    if (!output || size == 0) return 0;
    ProcessorFacts facts = readProcessorFacts();
    int written = std::snprintf(output, size, "%u-%u-%u-%lu", facts.architecture, facts.revision,
                                facts.level, static_cast<unsigned long>(getProcessorCount()));
    if (written < 0) return 0;
    return static_cast<std::size_t>(written) < size ? written : static_cast<int>(size - 1);
}

int getWindowsVersion(unsigned* major, unsigned* minor, unsigned* build) {
    utsname name{};
    if (::uname(&name) != 0) return 0;
    unsigned numbers[3] = {0, 0, 0};
    if (std::sscanf(name.release, "%u.%u.%u", &numbers[0], &numbers[1], &numbers[2]) < 1) return 0;
    if (major) *major = numbers[0];
    if (minor) *minor = numbers[1];
    if (build) *build = numbers[2];
    return 1;
}
