#pragma once

#include <string>

// A private temporary folder for one test: XDG_DATA_HOME points into it, so the program's
// folder is <dir>/jotterly and the user's data is never touched. Removed at the end.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    const std::string& Dir() const { return m_dir; }
    std::string DataFolder() const { return m_dir + "/jotterly/"; }

private:
    std::string m_dir;
};
