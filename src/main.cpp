#include "core/app/CLaunchArgs.h"
#include "gui/app/CLauncher.h"
#include "gui/app/CNotesApp.h"

#include <QApplication>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const LaunchRequest request =
        CLaunchArgs::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto status = CLauncher::BeforeStart(request)) return *status;
    if (!CNotesApp::PreparePlatform()) return 1;
    QApplication app(argc, argv);
    CNotesApp notes;
    if (!notes.InitInstance(request)) return notes.StartStatus();
    return app.exec();
}
