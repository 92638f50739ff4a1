#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// What a coded message text ("E11…", "Q22…") asks of the message box, decided without widgets
// so the rules can be checked without a display.
namespace examora {

enum class MessageIcon { None, Information, Warning, Critical, Question };

// The values are the results ShowMessageCode returns for the buttons.
enum class MessageButton { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxSetup {
  QString caption;  // "エラー", "情報", "確認", "警告" or empty
  MessageIcon icon = MessageIcon::None;
  QList<MessageButton> buttons;  // in the order they are shown
  MessageButton defaultButton = MessageButton::Ok;
  // The answer when the box is dismissed without a button (Esc or the close box): Cancel when
  // there is one, OK for a lone OK, otherwise No, the answer that changes nothing.
  MessageButton escapeButton = MessageButton::Ok;
};

// Reads the three code characters: kind (caption and icon), buttons ('1' OK, '2' Yes/No,
// '3' Yes/No/Cancel) and default button ('1'..'3', anything else the first). std::nullopt when
// the code is invalid: empty text or a buttons character other than '1'..'3'.
std::optional<MessageBoxSetup> ParseMessageCode(QStringView codedText);

// Longest body the box shows, in CP932 bytes.
inline constexpr qsizetype kMessageBodyMaxBytes = 1000;

// The body shown: the coded text (with the extra text after an empty line when there is one)
// from its 4th character, cut to kMessageBodyMaxBytes at a character boundary.
QString MessageBody(const QString& codedText, const QString& extraText);

// The Japanese label of a button, as the venue's Windows shows it.
QString MessageButtonLabel(MessageButton button);

}  // namespace examora
