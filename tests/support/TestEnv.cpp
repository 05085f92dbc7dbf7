#include "support/TestEnv.h"

#include "core/platform/Clock.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TestEnv::TestEnv() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "jotterly-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_dir = tmpl;
    setenv("XDG_DATA_HOME", m_dir.c_str(), 1);
}

TestEnv::~TestEnv() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
    Clock::ResetForTest();
}
