#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "platform/CpuLoad.h"

// Every five seconds while an exam window runs, the total processor load and this program's
// own load go to system/<PartCode>/cpu.txt, so that a slow exam can be explained afterwards.
// Nothing here is ever shown or allowed to disturb the exam: any failure leaves it off.
namespace examora {

// "CPU使用率：<total>/<process>", each rounded to a whole number with halves to even.
QString CpuLoadLine(double total, double process);

// The name the system's counters give this process: "[<PartCode>]<部種名称>", the executable's
// file name without its extension.
QString CpuProcessInstance(const QString& partCode, const QString& partName);

class CpuMonitor : public QObject {
  Q_OBJECT

 public:
  using MeterFactory =
      std::function<std::unique_ptr<CpuLoadMeter>(const std::string& processInstance)>;

  // factory defaults to the platform's meter (CreateCpuLoadMeter).
  explicit CpuMonitor(QObject* parent = nullptr, MeterFactory factory = {});
  ~CpuMonitor() override;

  QTimer CpuCheckTimer;  // 5000 ms, stopped until a successful start

  // Reads 部種名称 of the part, opens the meter with its first sample and starts the timer. A
  // second start replaces the meter of the first.
  void StartCpuMonitor(const QString& partCode);
  // The tick: one sample, one line in cpu.txt when both loads could be read.
  void LogCpuLoad();

  bool IsOn() const { return meter_ != nullptr; }

 private slots:
  void CpuCheckTimerTimer();

 private:
  MeterFactory factory_;
  std::unique_ptr<CpuLoadMeter> meter_;
  QString partCode_;
};

}  // namespace examora
