#include "TestRegistry.h"
#include "widgets/RoundButton.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace examora;

class TestRoundButton : public QObject {
  Q_OBJECT

 private slots:
  // A keyboard-only candidate tabs to a button and presses Return; the key held down presses
  // once, and Return typed into a field stays the screen's own.
  void returnPressesTheFocusedButton_data() {
    QTest::addColumn<bool>("onButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Return") << true << int(Qt::Key_Return) << 0 << false << 1;
    QTest::newRow("keypad Enter") << true << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false
                                  << 1;
    QTest::newRow("held down") << true << int(Qt::Key_Return) << 0 << true << 0;
    QTest::newRow("Ctrl+Return") << true << int(Qt::Key_Return) << int(Qt::ControlModifier) << false
                                 << 0;
    QTest::newRow("in a field") << false << int(Qt::Key_Return) << 0 << false << 0;
  }
  void returnPressesTheFocusedButton() {
    QFETCH(bool, onButton);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(int, clicks);
    QDialog dialog;
    auto* field = new QLineEdit(&dialog);
    auto* button = new RoundButton(QStringLiteral("次へ >"), &dialog);
    button->SetModalResult(1);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QWidget* target = onButton ? static_cast<QWidget*>(button) : field;
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), autoRepeat);
    QApplication::sendEvent(target, &press);
    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(dialog.result(), clicks ? 1 : 0);
  }
};

EXAMORA_TEST(TestRoundButton)
#include "tst_roundbutton.moc"
