// Faults on purpose, to prove that the sanitizer build stops at the first report: an input
// starting with "overflow" overflows a signed int, one starting with "heap" reads past a heap
// block. Reaching the line after a fault means the report did not end the run.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 8 && std::memcmp(data, "overflow", 8) == 0) {
        volatile int big = INT_MAX;
        const int sum = big + static_cast<int>(size);
        std::printf("still running after the fault (%d)\n", sum);
    } else if (size >= 4 && std::memcmp(data, "heap", 4) == 0) {
        auto block = std::make_unique<char[]>(size);
        const char past = static_cast<volatile char*>(block.get())[size];
        std::printf("still running after the fault (%d)\n", past);
    }
    return 0;
}
