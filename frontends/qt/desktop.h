// The form runtime on a Linux desktop through Qt: QTimers, processEvents, QMessageBox,
// the popup, the single-instance lock and the alert sound.
#pragma once
#include <QElapsedTimer>
#include <QTimer>

#include <array>
#include <atomic>
#include <memory>

#include "app/desktop.h"
#include "app/single_instance.h"
#include "frontends/qt/sound.h"
#include "frontends/qt/tray_icons.h"

class QAbstractEventDispatcher;
class QMenu;

namespace quorvex {

class Form1;
class HistoryWindow;

class QtDesktop : public Desktop {
 public:
  // The handles Form1 passes to the tray shell, which draws the icons by them (TrayIcons).
  static constexpr NativeHandle kWindow = 0x10, kNormalIcon = TrayIcons::kNormal, kAlertIcon = TrayIcons::kAlert;

  QtDesktop(SingleInstanceLock& lock, SoundPlayer& sound);
  ~QtDesktop() override;

  // The form whose handlers the timers run, and the tray's menu that ShowPopup opens.
  void Attach(Form1& form, QMenu& popup);
  bool Ended() const { return ended_; }

  void DoEvents() override;
  void WaitForEvents(int32_t timeoutMs) override;
  void Wake() override;
  void TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) override;
  void ShowMessageBox(const Text& caption, const Text& text) override;
  bool AcquireSingleInstance() override { return lock_.Acquire(); }
  void HideFromTaskList() override {}  // no window is ever shown: nothing is on a task list
  NativeHandle WindowHandle() override { return kWindow; }
  NativeHandle NormalIcon() override { return kNormalIcon; }
  NativeHandle AlertIcon() override { return kAlertIcon; }
  void PlaySoundSync(const Text& name) override { sound_.PlayToEnd(name); }
  void ShowPopup() override;
  void EndProgram() override;
  void ReportError(std::string_view handler, std::string_view message) override;
  int64_t NowMs() override { return sinceStart_.elapsed(); }
  int64_t WallClockMs() override;
  int32_t LocalOffsetMinutes(int64_t utcMs) override;
  void ShowHistory() override;

 private:
  QTimer& TimerOf(TimerId timer) { return timers_[static_cast<size_t>(timer)]; }

  SingleInstanceLock& lock_;
  SoundPlayer& sound_;
  std::array<QTimer, 3> timers_;
  QElapsedTimer sinceStart_;  // monotonic, started with the desktop
  // The UI thread's, taken at construction: Wake comes from the thread of a network wait.
  std::atomic<QAbstractEventDispatcher*> dispatcher_;
  Form1* form_ = nullptr;
  QMenu* popup_ = nullptr;
  std::unique_ptr<HistoryWindow> historyWindow_;  // made at the first "History…", then reused
  bool ended_ = false;
};

}  // namespace quorvex
