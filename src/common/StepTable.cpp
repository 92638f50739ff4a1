#include "common/StepTable.h"

#include <QStringList>

namespace examora {
namespace {

// One row of the table. types lists the display types it serves; an empty part matches any
// part (the single-part types ignore it).
struct CaptionRow {
  const char16_t* types;
  const char16_t* part;
  const char16_t* form;
  const char16_t* caption;
};

struct ImageRow {
  const char16_t* types;
  const char16_t* part;
  const char16_t* form;
  bool anyWizard;  // the row serves both values of the wizard flag
  bool inWizard;
  const char16_t* file;
};

constexpr CaptionRow kCaptions[] = {
    // One practical part: "試験" wording (type 1), "問題" wording (types 3 and 5).
    {u"1", u"", u"frmQZTP0020", u"02 受験者情報入力"},
    {u"1", u"", u"frmQZTP0030", u"03 実技試験注意事項"},
    {u"1", u"", u"frmQZQZ0030", u"04 実技試験操作説明"},
    {u"35", u"", u"frmQZTP0020", u"02 受験者情報入力"},
    {u"35", u"", u"frmQZTP0030", u"03 実技問題注意事項"},
    {u"35", u"", u"frmQZQZ0030", u"04 実技問題操作説明"},
    // A knowledge part followed by a practical part.
    {u"2", u"1", u"frmQZTP0020", u"02 受験者情報入力"},
    {u"2", u"2", u"frmQZTP0020", u"06 受験者情報確認"},
    {u"2", u"1", u"frmQZTP0030", u"03 知識試験注意事項"},
    {u"2", u"2", u"frmQZTP0030", u"07 実技試験注意事項"},
    {u"2", u"1", u"frmQZQZ0030", u"04 知識試験操作説明"},
    {u"2", u"2", u"frmQZQZ0030", u"08 実技試験操作説明"},
    {u"46", u"1", u"frmQZTP0020", u"02 受験者情報入力"},
    {u"46", u"2", u"frmQZTP0020", u"06 受験者情報確認"},
    {u"46", u"1", u"frmQZTP0030", u"03 知識問題注意事項"},
    {u"46", u"2", u"frmQZTP0030", u"07 実技問題注意事項"},
    {u"46", u"1", u"frmQZQZ0030", u"04 知識問題操作説明"},
    {u"46", u"2", u"frmQZQZ0030", u"08 実技問題操作説明"},
    // The exam start screen shows only the picture.
};

constexpr ImageRow kImages[] = {
    {u"135", u"", u"frmQZTP0020", true, false, u"procedure02.jpg"},
    {u"135", u"", u"frmQZTP0030", true, false, u"procedure03.jpg"},
    {u"135", u"", u"frmQZQZ0030", true, false, u"procedure04.jpg"},
    {u"135", u"", u"frmQZTP0060", false, true, u"procedure05.jpg"},
    {u"135", u"", u"frmQZTP0060", false, false, u"procedure05_1.jpg"},
    {u"246", u"1", u"frmQZTP0020", true, false, u"procedure02.jpg"},
    {u"246", u"1", u"frmQZTP0030", true, false, u"procedure03.jpg"},
    {u"246", u"1", u"frmQZQZ0030", true, false, u"procedure04.jpg"},
    {u"246", u"1", u"frmQZTP0060", false, true, u"procedure05.jpg"},
    {u"246", u"1", u"frmQZTP0060", false, false, u"procedure05_1.jpg"},
    {u"246", u"2", u"frmQZTP0020", true, false, u"procedure06.jpg"},
    {u"246", u"2", u"frmQZTP0030", true, false, u"procedure07.jpg"},
    {u"246", u"2", u"frmQZQZ0030", true, false, u"procedure08.jpg"},
    {u"246", u"2", u"frmQZTP0060", false, true, u"procedure09.jpg"},
    {u"246", u"2", u"frmQZTP0060", false, false, u"procedure09_1.jpg"},
};

// Display types are single characters "1".."6"; anything else ("", "7", "12") has no row.
bool TypeMatches(const char16_t* types, const QString& displayType) {
  return displayType.size() == 1 && QStringView(types).contains(displayType.at(0));
}

bool PartMatches(const char16_t* part, const QString& partCode) {
  const QStringView p(part);
  return p.isEmpty() || p == partCode;
}

}  // namespace

QString StepCaption(const QString& displayType, const QString& partCode, const QString& formName) {
  for (const CaptionRow& row : kCaptions) {
    if (TypeMatches(row.types, displayType) && PartMatches(row.part, partCode) &&
        QStringView(row.form) == formName) {
      return QString::fromUtf16(row.caption);
    }
  }
  return QString();
}

QString StepImageFile(const QString& displayType, const QString& partCode, const QString& formName,
                      bool inWizard) {
  for (const ImageRow& row : kImages) {
    if (TypeMatches(row.types, displayType) && PartMatches(row.part, partCode) &&
        QStringView(row.form) == formName && (row.anyWizard || row.inWizard == inWizard)) {
      return QString::fromUtf16(row.file);
    }
  }
  return QString();
}

}  // namespace examora
