// QZBG0010: the dark background that covers the screen for the whole part.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

#include "data/ExamData.h"

class QLabel;

namespace examora {

class NamedMutex;

// The background window of a part: covers the screen and, once visible, runs the session
// controller: state check, wizard, operation practice, exam window; closing it hands over
// to the next part.
class TfrmQZBG0010 : public QWidget {
  Q_OBJECT

 public:
  // The executable's file name (without folder) and its command-line arguments.
  TfrmQZBG0010(QString executableFileName, QStringList arguments);
  ~TfrmQZBG0010() override;

  // Takes the mutex named after the executable. False when another instance of the same
  // executable runs: this one must end without doing anything.
  [[nodiscard]] bool FormCreate();

  QString PartCode;
  QString VenueCode;
  QString CandidateNumber;

 signals:
  // The session has finished (the window is closing, with or without hand-over).
  void sessionFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void SessionController();
  // Steps of the session; false when the step has already ended the program or closed the
  // background window.
  bool CheckPartState();
  bool RunWizard();
  bool RunPractice(const SetupIni& setup, bool* practiceDone);
  bool RunExamWindow(const SetupIni& setup, bool restoreLayout);
  void FormClose();
  void EndProgram();       // closes without hand-over
  void CloseBackground();  // closes with hand-over
  void Log(const QString& event) const;
  enum class RunOutcome { NotAvailable, Closed, EndProgram };
  RunOutcome RunScreen(const QString& className, bool practice, bool restoreLayout);

  QString executableFileName_;
  QStringList arguments_;
  std::unique_ptr<NamedMutex> exeMutex_;
  QLabel* picture_ = nullptr;
  bool firstShow_ = true;
  bool handOver_ = true;
  bool closed_ = false;
};

}  // namespace examora
