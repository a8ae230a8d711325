#include "app/qt_window_side.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

#include "app/qt_text.h"

namespace gedan {

void QtEventPump::ProcessEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::DelayWithEvents(int milliseconds) {
  if (milliseconds <= 0) return;
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  // The timer wakes the waiting dispatcher at the deadline if no other event does. It is armed
  // again on each round, since a timer may fire a little before the deadline has passed.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  while (!deadline.hasExpired()) {
    wake.start(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessageBox::ShowMessage(const Text& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8("信息："), ToQString(text),
                  QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace gedan
