#include "ScriptedOffice.h"
#include "TestRegistry.h"
#include "common/QZMessage.h"
#include "completion/model/OfficeCheck.h"

#include <QTest>

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

using Calls = std::vector<std::string>;

OfficeSettings SettingsFor(const ScriptedOffice::Script& script, const QString& expected) {
  return {QString::fromStdString(script.programId), expected,
          QString::fromStdString(script.windowClass)};
}

ScriptedOffice::Script Excel(int workbooks, const std::string& version = "16.0") {
  ScriptedOffice::Script s;
  s.documents = workbooks;
  s.version = version;
  return s;
}
ScriptedOffice::Script Word(int documents, const std::string& version = "16.0") {
  ScriptedOffice::Script s;
  s.programId = "Word.Application";
  s.windowClass = "OpusApp";
  s.documents = documents;
  s.version = version;
  return s;
}
ScriptedOffice::Script PowerPoint(int presentations, const std::string& version = "16.0") {
  ScriptedOffice::Script s;
  s.programId = "PowerPoint.Application";
  s.windowClass = "PPTFrameClass";
  s.documents = presentations;
  s.version = version;
  return s;
}

struct CheckRow {
  const char* name;
  ScriptedOffice::Script script;
  OfficeCheckOutcome outcome;
  Calls calls;
  QStringList notices;  // "log|message" as the dialog would write and show them
  bool broughtToFront = false;
};

const QString kNotRunningLog =
    u"該当するバージョンのアプリケーションソフトが起動されていません。"_s;

std::vector<CheckRow> CheckRows() {
  using O = OfficeCheckOutcome;
  std::vector<CheckRow> rows;
  rows.push_back({"correct version", Excel(1), O::Passed, {}, {}});
  rows.push_back({"spreadsheet of another version, two workbooks",
                  Excel(2, "15.0"),
                  O::VersionDiffers,
                  {"Workbooks.Item(2).Close()", "Workbooks.Item(1).Close()", "Quit()"},
                  {u"Excelのバージョンが異なります|"_s + msg::kOfficeVersionDiffers}});
  {
    ScriptedOffice::Script s = Excel(2, "15.0");
    s.failing = {"ActiveWorkbook"};
    rows.push_back({"spreadsheet in a cell edit", s, O::Undecided, {}, {}});
  }
  {
    ScriptedOffice::Script s = PowerPoint(1);
    s.hasWindow = false;
    rows.push_back({"presentation without window, right version", s, O::Passed, {}, {}});
    s.version = "15.0";
    rows.push_back({"presentation without window, other version",
                    s,
                    O::VersionDiffers,
                    {"ActivePresentation.Close()", "Quit()"},
                    {u"PowerPointのバージョンが異なります|"_s + msg::kOfficeVersionDiffers}});
    s.failing = {"Version"};
    rows.push_back({"presentation without window, busy",
                    s,
                    O::Busy,
                    {},
                    {u"アプリケーションソフトで編集操作が行われています。|"_s + msg::kOfficeBusy}});
    s.objectReachable = false;
    rows.push_back({"presentation not running",
                    s,
                    O::NotRunning,
                    {},
                    {kNotRunningLog + u'|' + msg::kOfficeNotRunning}});
  }
  rows.push_back({"word processor of another version without document",
                  Word(0, "15.0"),
                  O::VersionDiffers,
                  {"Quit()"},
                  {u"Wordのバージョンが異なります|"_s + msg::kOfficeVersionDiffers}});
  {
    ScriptedOffice::Script s = Word(1);
    s.failing = {"Version"};
    rows.push_back({"version unreadable", s, O::Busy, {}, {u'|' + msg::kOfficeBusy}});
    s.failing = {};
    s.objectReachable = false;
    rows.push_back({"window but no object yet", s, O::Unreachable, {}, {}, true});
    s.hasWindow = false;
    rows.push_back(
        {"not running", s, O::NotRunning, {}, {kNotRunningLog + u'|' + msg::kOfficeNotRunning}});
  }
  return rows;
}

struct ShutdownRow {
  const char* name;
  ScriptedOffice::Script script;
  int calls;  // of CloseOfficeApplication until it reported "nothing more"
  Calls actions;
  bool stillRunning;
};

std::vector<ShutdownRow> ShutdownRows() {
  std::vector<ShutdownRow> rows;
  const std::string closeDoc = "ActiveDocument.Close(SaveChanges=0)";
  rows.push_back({"word processor with three documents",
                  Word(3),
                  4,
                  {closeDoc, closeDoc, closeDoc, "Quit()"},
                  false});
  rows.push_back({"spreadsheet with no workbook", Excel(0), 2, {"Quit()"}, false});
  rows.push_back({"spreadsheet with two workbooks",
                  Excel(2),
                  2,
                  {"Workbooks.Item(2).Close(SaveChanges=false)",
                   "Workbooks.Item(1).Close(SaveChanges=false)", "Quit()"},
                  false});
  rows.push_back({"presentation",
                  PowerPoint(1),
                  2,
                  {"ActivePresentation.Saved=-1", "ActivePresentation.Close()", "Quit()"},
                  false});
  {
    ScriptedOffice::Script s = Word(0);
    s.neverGoesAway = true;
    Calls quits(kMaxShutdownCalls, "Quit()");
    rows.push_back({"application that never goes away", s, kMaxShutdownCalls, quits, true});
  }
  {
    ScriptedOffice::Script s = Word(2);
    s.failing = {"Close"};
    rows.push_back({"automation error while closing", s, 1, {closeDoc}, true});
  }
  {
    ScriptedOffice::Script s = Excel(1);
    s.failing = {"ActiveWorkbook"};
    Calls none;
    rows.push_back({"spreadsheet in a cell edit is left alone", s, kMaxShutdownCalls, none, true});
  }
  {
    ScriptedOffice::Script s = Word(1);
    s.objectReachable = false;
    rows.push_back({"unreachable application", s, 1, {}, true});
  }
  return rows;
}

std::string Joined(const Calls& calls) {
  std::string text;
  for (const std::string& c : calls) text += c + "; ";
  return text;
}

}  // namespace

class TestOfficeCheck : public QObject {
  Q_OBJECT

 private slots:
  void check_data() {
    QTest::addColumn<int>("row");
    const std::vector<CheckRow> rows = CheckRows();
    for (std::size_t i = 0; i < rows.size(); ++i) QTest::newRow(rows[i].name) << int(i);
  }
  void check() {
    QFETCH(int, row);
    const CheckRow r = CheckRows()[static_cast<std::size_t>(row)];
    ScriptedOffice office(r.script);
    QStringList notices;
    const OfficeCheckOutcome outcome =
        CheckOfficeApplication(SettingsFor(r.script, u"16.0"_s), office,
                               [&notices](const QString& log, const QString& message) {
                                 notices << log + u'|' + message;
                               });
    QCOMPARE(int(outcome), int(r.outcome));
    QCOMPARE(QString::fromStdString(Joined(office.Calls())),
             QString::fromStdString(Joined(r.calls)));
    QCOMPARE(notices, r.notices);
    QCOMPARE(office.BroughtToFront(), r.broughtToFront
                                          ? std::vector<WindowId>{ScriptedOffice::kMainWindow}
                                          : std::vector<WindowId>{});
    // The silent check takes the same steps.
    ScriptedOffice silent(r.script);
    QCOMPARE(int(CheckOfficeApplication(SettingsFor(r.script, u"16.0"_s), silent)), int(r.outcome));
    QCOMPARE(silent.Calls(), office.Calls());
  }

  void shutdown_data() {
    QTest::addColumn<int>("row");
    const std::vector<ShutdownRow> rows = ShutdownRows();
    for (std::size_t i = 0; i < rows.size(); ++i) QTest::newRow(rows[i].name) << int(i);
  }
  void shutdown() {
    QFETCH(int, row);
    const ShutdownRow r = ShutdownRows()[static_cast<std::size_t>(row)];
    ScriptedOffice office(r.script);
    QCOMPARE(ShutDownOfficeApplication(SettingsFor(r.script, u"16.0"_s), office), r.calls);
    QCOMPARE(QString::fromStdString(Joined(office.Calls())),
             QString::fromStdString(Joined(r.actions)));
    QCOMPARE(office.Running(), r.stillRunning);
  }

  void unknownApplicationIsLeftAlone() {
    ScriptedOffice::Script s = Excel(2, "15.0");
    s.programId = "Calc.Application";
    ScriptedOffice office(s);
    QStringList notices;
    QCOMPARE(
        int(CheckOfficeApplication(SettingsFor(s, u"16.0"_s), office,
                                   [&](const QString& l, const QString& m) { notices << l + m; })),
        int(OfficeCheckOutcome::Undecided));
    QVERIFY(notices.isEmpty());
    QCOMPARE(ShutDownOfficeApplication(SettingsFor(s, u"16.0"_s), office), kMaxShutdownCalls);
    QVERIFY(office.Calls().empty());
    QCOMPARE(OfficeDisplayName(u"Calc.Application"_s), QString());
  }
};

EXAMORA_TEST(TestOfficeCheck)
#include "tst_officecheck.moc"
