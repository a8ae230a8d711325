#include "app/program.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/notice_check.h"
#include "app/qt_window_side.h"
#include "text/window_side.h"

namespace gedan {

void ProgramExit() {
  // What runs from here on (stopping transfers) must no longer reach into Qt.
  InstallEventPump(nullptr);
  InstallMessageBoxSink(nullptr);
}

int ProgramMain(int argc, char** argv) {
  QApplication application(argc, argv);
  QtEventPump pump;
  QtMessageBox messages;
  InstallEventPump(&pump);
  InstallMessageBoxSink(&messages);
  {
    MainWindow window;
    window.Load(NoticeCheck);
    // Closing the window ends the loop, also while a handler is suspended in ProcessEvents: the
    // handler then finds the song table detached and finishes before the loop returns.
    application.exec();
  }
  ProgramExit();
  return 0;
}

}  // namespace gedan
