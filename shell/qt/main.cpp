// The program: the main window, started in the library folder that holds the
// program. Nothing is saved at exit: every setting is written when it
// changes; only a generation whose thumbnails were still being made is
// finished first. Work abandoned at that stop (a read stalled on a slow
// share) is not waited for: the program ends without it.

#include <QApplication>

#include <cstdlib>

#include "core/files.h"
#include "core/folder_lock.h"
#include "imaging/qt_picture_maker.h"
#include "shell/application.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/qt_translations.h"
#include "shell/qt/qt_window_thread.h"
#include "shell/qt/raise_channel.h"
#include "shell/qt/shell_window.h"
#include "shell/qt/update_feedback.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    galmora::load_chinese_qt_translations(app);
    galmora::Text library_root = galmora::program_directory();
    // Without /proc, Qt's guess from the command that started the program.
    if (library_root.empty())
        library_root = galmora::from_qstring(QCoreApplication::applicationDirPath());
    if (library_root.empty()) return 1;  // no library folder to work in
    // One window per library: a later start raises this one's window and ends.
    const galmora::FolderLock library_lock(library_root);
    const auto claim = galmora::claim_library(library_lock, library_root);
    if (claim != galmora::LibraryClaim::Open)
        return claim == galmora::LibraryClaim::Refused ? 1 : 0;
    galmora::set_current_directory(library_root);

    galmora::ShellWindow window;
    const galmora::RaiseOnRequest raise_on_request(window, library_root, library_lock);
    galmora::QtPictureMaker::set_process_limits();
    const galmora::QtPictureMaker picture_maker;
    galmora::QtWindowThread window_thread(&window);
    galmora::BackgroundServices background{&window_thread, {&picture_maker}};
    galmora::Application application(window.controls(), window.desktop(), library_root, {},
                                     galmora::window_update_hooks(), std::move(background));
    application.start_up();
    window.show();
    const int exit_code = app.exec();
    // The window has closed: thumbnails still being made stop, and their
    // generation is written and recorded as after a stop.
    application.shut_down();
    if (application.threads_left()) std::_Exit(exit_code);
    return exit_code;
}
