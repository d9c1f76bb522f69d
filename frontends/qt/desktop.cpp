#include "frontends/qt/desktop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>

#include "app/form1.h"
#include "frontends/qt/dispatch.h"
#include "frontends/qt/history_window.h"

namespace quorvex {

namespace {
constexpr int kPopupRaise = 20;  // the popup opens this many pixels above the cursor
}

QtDesktop::QtDesktop(SingleInstanceLock& lock, SoundPlayer& sound)
    : lock_(lock), sound_(sound), dispatcher_(QAbstractEventDispatcher::instance()) {
  sinceStart_.start();
}

QtDesktop::~QtDesktop() = default;

int64_t QtDesktop::WallClockMs() { return QDateTime::currentMSecsSinceEpoch(); }

int32_t QtDesktop::LocalOffsetMinutes(int64_t utcMs) {
  return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime).offsetFromUtc() / 60;
}

void QtDesktop::ShowHistory() {
  if (form_ == nullptr) return;
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindow>(*form_);
  historyWindow_->ShowOrRaise();
}

void QtDesktop::Attach(Form1& form, QMenu& popup) {
  form_ = &form;
  popup_ = &popup;
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) {
    QObject::connect(&TimerOf(timer), &QTimer::timeout, [this, timer] {
      Dispatch("Timer", [&] { form_->TimerTick(timer); });
    });
  }
}

void QtDesktop::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// Sleeps in the event loop until an event comes (it is run here already), Wake is called,
// or the single-shot timer ends the wait.
void QtDesktop::WaitForEvents(int32_t timeoutMs) {
  QAbstractEventDispatcher* dispatcher = dispatcher_.load();
  if (dispatcher == nullptr) return;
  QTimer limit;
  limit.setSingleShot(true);
  limit.start(timeoutMs);
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtDesktop::Wake() {
  if (QAbstractEventDispatcher* dispatcher = dispatcher_.load()) dispatcher->wakeUp();
}

void QtDesktop::TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) {
  QTimer& target = TimerOf(timer);
  // Starting a running timer counts its interval afresh, as setting it on the form does;
  // a form timer with interval 0 never ticks.
  if (enabled && intervalMs > 0) {
    target.start(intervalMs);
  } else {
    target.stop();
  }
}

void QtDesktop::ShowMessageBox(const Text& caption, const Text& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(caption), QString::fromStdU16String(text),
                  QMessageBox::Ok);
  box.exec();
}

void QtDesktop::ShowPopup() {
  if (popup_ == nullptr || popup_->isVisible()) return;
  popup_->exec(QCursor::pos() - QPoint(0, kPopupRaise));
}

void QtDesktop::ReportError(std::string_view handler, std::string_view message) {
  ReportHandlerError(handler, message);
}

void QtDesktop::EndProgram() {
  ended_ = true;
  QCoreApplication::quit();
}

}  // namespace quorvex
