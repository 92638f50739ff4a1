#pragma once

#include <QString>

// The wizard screens' place in the whole procedure: the numbered step title and the
// step-indicator picture, by display type (system.ini [基本情報] 表示タイプ), part and screen.
namespace examora {

// Title such as "02 受験者情報入力"; "" when the table has no row (unknown display type,
// screen or part, and always for the exam start screen).
QString StepCaption(const QString& displayType, const QString& partCode, const QString& formName);

// File name under system/Image/ such as "procedure02.jpg"; "" when the table has no row.
// inWizard tells the exam start screen inside the wizard from its showing after the practice.
QString StepImageFile(const QString& displayType, const QString& partCode, const QString& formName,
                      bool inWizard);

}  // namespace examora
