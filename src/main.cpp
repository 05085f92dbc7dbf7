#include "app/CNotesApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    CNotesApp::PreparePlatform();
    QApplication app(argc, argv);
    CNotesApp notes;
    if (!notes.InitInstance(QApplication::arguments())) return 0;
    return app.exec();
}
