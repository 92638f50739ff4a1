#pragma once

#include <QString>

// Message texts shown through ShowMessageCode, each beginning with its three-character code
// (kind, buttons, default button). Kept here so that a text and the log line that repeats it
// cannot drift apart.
namespace examora::msg {

// ---- Start-up, state writes and hand-over ----------------------------------------------------
inline const QString kSystemWriteFailed =
    QStringLiteral("E11システム情報の書き込みに失敗しました。");
inline const QString kExamAlreadyEnded = QStringLiteral("I11試験は終了しています。");
inline const QString kExamExeMissing = QStringLiteral("E11試験EXEが存在しません。");
inline const QString kSubmissionExeMissing = QStringLiteral("E11提出用EXEが存在しません。");
// The program's module for the screens that show pages could not be loaded; the system's
// reason follows on the next line.
inline const QString kPageModuleMissing =
    QStringLiteral("E11問題・注意事項を表示するモジュールを読み込めません。");

// ---- Leaving the program from a wizard screen ------------------------------------------------
inline const QString kConfirmQuit = QStringLiteral(
    "Q22受験プログラムを終了します。\r\n本当に終了する場合は「はい」を\r\n"
    "前の画面に戻る場合は「いいえ」を押してください。");

// ---- Candidate information checks --------------------------------------------------------------
inline const QString kVenueCodeEmpty = QStringLiteral("E11会場コードを入力してください。");
inline const QString kVenueCodeFormat =
    QStringLiteral("E11会場コードは半角で5文字としてください。");
inline const QString kCandidateNumberEmpty = QStringLiteral("E11受験番号を入力してください。");
inline const QString kCandidateNumberNotNumeric =
    QStringLiteral("E11受験番号は数値で入力してください。");
inline const QString kFamilyNameEmpty = QStringLiteral("E11姓を入力してください。");
inline const QString kGivenNameEmpty = QStringLiteral("E11名を入力してください。");
inline const QString kBirthDateNotSelected = QStringLiteral("E11生年月日を選択してください。");
inline const QString kSexNotSelected = QStringLiteral("E11性別を選択してください。");

// ---- Time extension and time limit -----------------------------------------------------------
// The extension may not exceed the exam time: "E11<limit>分以上は設定できません。".
inline QString ExtensionTooLong(int limitMinutes) {
  return QStringLiteral("E11%1分以上は設定できません。").arg(limitMinutes);
}
inline const QString kTimeUpForcedEnd =
    QStringLiteral("Q11制限時間が来ましたので、受験プログラムを終了します。");

// ---- Exam window set-up ----------------------------------------------------------------------
inline const QString kExamFileMissing = QStringLiteral("E11試験ファイルが存在しません。");
inline const QString kNoDisplayMode = QStringLiteral("E11表示方法が一つも選択されていません。");
// A paper with more rows (heading rows included) or answers than the answer sheet holds.
inline const QString kTooManyQuestions =
    QStringLiteral("E11問題数が多すぎるため、解答欄を作成できません。");
// A choice could not be written to the answer file (the reason follows as extra text).
inline const QString kAnswerSaveFailed = QStringLiteral("E11解答の保存に失敗しました。");

// ---- Ending a practical part -------------------------------------------------------------------
// "はい" (or "試験終了" after time-over) while a work file is still held open.
inline const QString kFileOpenPressYes = QStringLiteral(
    "E11開いているファイルがあります。\r\nファイルを保存して閉じてから、[はい]ボタンを\r\n"
    "クリックしてください。");
inline const QString kFileOpenPressEnd = QStringLiteral(
    "E11開いているファイルがあります。\r\nファイルを保存して閉じてから、[試験終了]ボタンを\r\n"
    "クリックしてください。");

// ---- Office application check ------------------------------------------------------------------
inline const QString kOfficeNotRunning =
    QStringLiteral("E11該当するバージョンのアプリケーションソフトが起動されていません。");
inline const QString kOfficeBusy = QStringLiteral(
    "E11アプリケーションソフトで編集操作が行われています。\r\n"
    "ダイアログ等が開かれている場合は、閉じてからＯＫボタンを押してください。");
inline const QString kOfficeVersionDiffers = QStringLiteral("E11officeのバージョンが異なります。");

}  // namespace examora::msg
