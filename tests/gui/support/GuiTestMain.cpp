// main() for the offscreen GUI tests: a private runtime and data folder, then QApplication.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string runtime =
        (std::filesystem::temp_directory_path() / "jotterly-gui-runtime-XXXXXX").string();
    if (mkdtemp(runtime.data())) {
        chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    setenv("XDG_DATA_HOME", runtime.c_str(), 1); // tests never touch the user's data
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(runtime, ec);
    return rc;
}
