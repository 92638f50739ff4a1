#include "exam/model/CpuMonitor.h"

#include <cmath>

#include "common/Numbers.h"
#include "common/RunLog.h"
#include "data/ExamData.h"

namespace examora {

QString CpuLoadLine(double total, double process) {
  return QStringLiteral("CPU使用率：") + QString::number(RoundHalfEven(total)) +
         QStringLiteral("/") + QString::number(RoundHalfEven(process));
}

QString CpuProcessInstance(const QString& partCode, const QString& partName) {
  return QStringLiteral("[") + partCode + QStringLiteral("]") + partName;
}

CpuMonitor::CpuMonitor(QObject* parent, MeterFactory factory)
    : QObject(parent), factory_(std::move(factory)) {
  if (!factory_) factory_ = &CreateCpuLoadMeter;
  CpuCheckTimer.setInterval(5000);
  connect(&CpuCheckTimer, &QTimer::timeout, this, &CpuMonitor::CpuCheckTimerTimer);
}

CpuMonitor::~CpuMonitor() = default;

void CpuMonitor::StartCpuMonitor(const QString& partCode) {
  CpuCheckTimer.stop();
  // The meter of an earlier start closes its counters here.
  meter_.reset();
  partCode_ = partCode;
  try {
    const QString instance = CpuProcessInstance(partCode, ReadSetupIni(partCode).partName);
    std::unique_ptr<CpuLoadMeter> meter = factory_(instance.toStdString());
    if (!meter || !meter->Start()) return;
    meter_ = std::move(meter);
    CpuCheckTimer.setInterval(5000);
    CpuCheckTimer.start();
  } catch (...) {
    // The monitor stays off; the exam does not notice.
    meter_.reset();
  }
}

void CpuMonitor::LogCpuLoad() {
  if (!meter_) return;
  try {
    const std::optional<CpuLoad> load = meter_->Next();
    if (load)
      WriteLog(CpuLoadLine(load->total, load->process), partCode_, QStringLiteral("cpu.txt"));
  } catch (...) {
    // A failed sample is skipped; the next tick tries again.
  }
}

void CpuMonitor::CpuCheckTimerTimer() {
  // Stopped during the tick so that a slow sample never overlaps the next one.
  CpuCheckTimer.stop();
  LogCpuLoad();
  if (meter_) CpuCheckTimer.start();
}

}  // namespace examora
