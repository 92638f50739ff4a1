#include "common/MessageCode.h"

#include "common/Cp932.h"

namespace examora {

std::optional<MessageBoxSetup> ParseMessageCode(QStringView codedText) {
  if (codedText.size() < 2) return std::nullopt;

  MessageBoxSetup setup;
  switch (codedText.at(1).unicode()) {
    case u'1':
      setup.buttons = {MessageButton::Ok};
      setup.escapeButton = MessageButton::Ok;
      break;
    case u'2':
      setup.buttons = {MessageButton::Yes, MessageButton::No};
      setup.escapeButton = MessageButton::No;
      break;
    case u'3':
      setup.buttons = {MessageButton::Yes, MessageButton::No, MessageButton::Cancel};
      setup.escapeButton = MessageButton::Cancel;
      break;
    default:
      return std::nullopt;
  }

  switch (codedText.at(0).unicode()) {
    case u'E':
      setup.caption = QStringLiteral("エラー");
      setup.icon = MessageIcon::Critical;
      break;
    case u'I':
      setup.caption = QStringLiteral("情報");
      setup.icon = MessageIcon::Information;
      break;
    case u'Q':
      setup.caption = QStringLiteral("確認");
      setup.icon = MessageIcon::Question;
      break;
    case u'W':
      setup.caption = QStringLiteral("警告");
      setup.icon = MessageIcon::Warning;
      break;
    default:
      break;  // still shown, without caption and icon
  }

  qsizetype defaultIndex = 0;
  if (codedText.size() >= 3) {
    const char16_t c = codedText.at(2).unicode();
    if (c == u'2') defaultIndex = 1;
    if (c == u'3') defaultIndex = 2;
  }
  // A default beyond the buttons shown (e.g. "E12") falls back to the first button.
  if (defaultIndex >= setup.buttons.size()) defaultIndex = 0;
  setup.defaultButton = setup.buttons.at(defaultIndex);
  return setup;
}

QString MessageBody(const QString& codedText, const QString& extraText) {
  QString text = codedText;
  if (!extraText.isEmpty()) text += QStringLiteral("\r\n\r\n") + extraText;
  return Cp932Left(QStringView(text).mid(qMin<qsizetype>(3, text.size())), kMessageBodyMaxBytes);
}

QString MessageButtonLabel(MessageButton button) {
  switch (button) {
    case MessageButton::Ok:
      return QStringLiteral("OK");
    case MessageButton::Cancel:
      return QStringLiteral("キャンセル");
    case MessageButton::Yes:
      return QStringLiteral("はい(&Y)");
    case MessageButton::No:
      return QStringLiteral("いいえ(&N)");
  }
  return QString();
}

}  // namespace examora
