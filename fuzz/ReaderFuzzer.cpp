// libFuzzer entry point for the alignment readers. Built once per format (MSARENDER_FUZZ_FORMAT names a
// Formats::Format value) and once with format detection, which also goes through the gzip loader.
// Besides "no crash", every result must satisfy FuzzRead::BrokenInvariant; a violation aborts, so that
// libFuzzer keeps the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzRead.h"

#ifndef MSARENDER_FUZZ_FORMAT
#error "MSARENDER_FUZZ_FORMAT must name a Formats::Format value (Auto for detection)"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    constexpr Formats::Format format = Formats::Format::MSARENDER_FUZZ_FORMAT;
    const std::string broken = FuzzRead::BrokenInvariant(text, format, FuzzRead::Read(text, format));
    if (!broken.empty()) {
        std::fprintf(stderr, "reader fuzzer: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
