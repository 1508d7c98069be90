// The program: the main window in the library folder that holds the program.

#include <QApplication>

#include "core/files.h"
#include "shell/qt/shell_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    galmora::set_current_directory(galmora::program_directory());
    galmora::ShellWindow window;
    window.show();
    return app.exec();
}
