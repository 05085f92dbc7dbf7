#pragma once

#include "core/storage/CAtomicFile.h"

#include <cstdint>

// Makes every atomic write fail after k bytes while it lives, as a disk filling up would; the
// writes work again afterwards even when an assertion ends the test early.
struct FailAfter {
    explicit FailAfter(size_t k) { CAtomicFile::s_failAfterBytes = k; }
    ~FailAfter() { CAtomicFile::s_failAfterBytes = SIZE_MAX; }
    FailAfter(const FailAfter&) = delete;
    FailAfter& operator=(const FailAfter&) = delete;
};
