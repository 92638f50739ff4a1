#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/MessageCode.h"
#include "common/Numbers.h"
#include "common/QZMessage.h"
#include "widgets/MessageBox.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(examora::MessageIcon)
Q_DECLARE_METATYPE(examora::MessageButton)
using ButtonList = QList<examora::MessageButton>;

namespace {

// What a shown box looked like, captured inside the modal loop and compared afterwards.
struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  bool topmost = false;
  Qt::WindowModality modality = Qt::NonModal;
};

ModalAction CaptureAnd(SeenBox& seen, ModalAction then) {
  return [&seen, then](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box) {
      seen.caption = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      seen.buttons = box->standardButtons();
      seen.defaultButton = box->standardButton(box->defaultButton());
      seen.topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      seen.modality = box->windowModality();
    }
    then(w);
  };
}

}  // namespace

class TestMessageBox : public QObject {
  Q_OBJECT

 private slots:
  void parseCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<ButtonList>("buttons");
    QTest::addColumn<MessageButton>("defaultButton");
    QTest::addColumn<MessageButton>("escapeButton");
    using B = MessageButton;
    QTest::newRow("E11") << u"E11text"_s << u"エラー"_s << MessageIcon::Critical
                         << ButtonList{B::Ok} << B::Ok << B::Ok;
    QTest::newRow("I11") << u"I11"_s << u"情報"_s << MessageIcon::Information << ButtonList{B::Ok}
                         << B::Ok << B::Ok;
    QTest::newRow("Q22 defaults to No") << u"Q22x"_s << u"確認"_s << MessageIcon::Question
                                        << ButtonList{B::Yes, B::No} << B::No << B::No;
    QTest::newRow("W21") << u"W21"_s << u"警告"_s << MessageIcon::Warning
                         << ButtonList{B::Yes, B::No} << B::Yes << B::No;
    QTest::newRow("Q33 defaults to Cancel")
        << u"Q33"_s << u"確認"_s << MessageIcon::Question << ButtonList{B::Yes, B::No, B::Cancel}
        << B::Cancel << B::Cancel;
    QTest::newRow("unknown kind: no caption, no icon")
        << u"X11text"_s << QString() << MessageIcon::None << ButtonList{B::Ok} << B::Ok << B::Ok;
    QTest::newRow("lower-case kind is unknown")
        << u"e11"_s << QString() << MessageIcon::None << ButtonList{B::Ok} << B::Ok << B::Ok;
    QTest::newRow("unknown default: first") << u"Q29"_s << u"確認"_s << MessageIcon::Question
                                            << ButtonList{B::Yes, B::No} << B::Yes << B::No;
    QTest::newRow("default beyond the buttons: first")
        << u"E13"_s << u"エラー"_s << MessageIcon::Critical << ButtonList{B::Ok} << B::Ok << B::Ok;
    QTest::newRow("two characters") << u"Q2"_s << u"確認"_s << MessageIcon::Question
                                    << ButtonList{B::Yes, B::No} << B::Yes << B::No;
  }
  void parseCode() {
    QFETCH(QString, code);
    QFETCH(QString, caption);
    QFETCH(MessageIcon, icon);
    QFETCH(ButtonList, buttons);
    QFETCH(MessageButton, defaultButton);
    QFETCH(MessageButton, escapeButton);
    const std::optional<MessageBoxSetup> setup = ParseMessageCode(code);
    QVERIFY(setup.has_value());
    QCOMPARE(setup->caption, caption);
    QCOMPARE(setup->icon, icon);
    QCOMPARE(setup->buttons, buttons);
    QCOMPARE(setup->defaultButton, defaultButton);
    QCOMPARE(setup->escapeButton, escapeButton);
  }

  void invalidCodes_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << QString();
    QTest::newRow("one character") << u"E"_s;
    QTest::newRow("buttons 4") << u"E41text"_s;
    QTest::newRow("buttons 0") << u"E01"_s;
    QTest::newRow("full-width digit") << u"E１1"_s;
  }
  void invalidCodes() {
    QFETCH(QString, code);
    QVERIFY(!ParseMessageCode(code).has_value());
  }

  void body_data() {
    QTest::addColumn<QString>("coded");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code only") << u"E11"_s << QString() << QString();
    QTest::newRow("text") << u"I11試験は終了しています。"_s << QString()
                          << u"試験は終了しています。"_s;
    QTest::newRow("extra after an empty line") << u"E11text"_s << u"abc"_s << u"text\r\n\r\nabc"_s;
    QTest::newRow("extra without text") << u"E11"_s << u"abc"_s << u"\r\n\r\nabc"_s;
    const QString kana750(750, QChar(u'あ'));
    QTest::newRow("1500 bytes cut to 1000")
        << (u"E11"_s + kana750) << QString() << QString(500, QChar(u'あ'));
    QTest::newRow("cut never splits a character")
        << (u"E11a"_s + kana750) << QString() << (u"a"_s + QString(499, QChar(u'あ')));
  }
  void body() {
    QFETCH(QString, coded);
    QFETCH(QString, extra);
    QFETCH(QString, expected);
    QCOMPARE(MessageBody(coded, extra), expected);
  }

  void questionBox_data() {
    QTest::addColumn<QMessageBox::StandardButton>("click");
    QTest::addColumn<int>("result");
    QTest::newRow("yes") << QMessageBox::Yes << 6;
    QTest::newRow("no") << QMessageBox::No << 7;
  }
  void questionBox() {
    QFETCH(QMessageBox::StandardButton, click);
    QFETCH(int, result);
    SeenBox seen;
    auto wait = WhenModalAppears(CaptureAnd(seen, ClickButton(click)));
    QCOMPARE(ShowMessageCode(nullptr, nullptr, msg::kConfirmQuit), result);
    QVERIFY(wait->fired());
    QCOMPARE(seen.caption, u"確認"_s);
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::No);
    QCOMPARE(seen.text, msg::kConfirmQuit.mid(3));
    QVERIFY(seen.topmost);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
  }

  void errorBoxWithExtraText() {
    SeenBox seen;
    WhenModalAppears(CaptureAnd(seen, ClickButton(QMessageBox::Ok)));
    QCOMPARE(ShowMessageCode(nullptr, nullptr, u"E11text"_s, u"abc"_s), 1);
    QCOMPARE(seen.caption, u"エラー"_s);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.text, u"text\r\n\r\nabc"_s);
  }

  void unknownKindShowsPlainBox() {
    SeenBox seen;
    WhenModalAppears(CaptureAnd(seen, ClickButton(QMessageBox::Ok)));
    QCOMPARE(ShowMessageCode(nullptr, nullptr, u"X11text"_s), 1);
    QCOMPARE(seen.caption, QString());
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.text, u"text"_s);
  }

  void yesNoButtonsAreJapanese() {
    QString yes, no;
    WhenModalAppears([&](QWidget* w) {
      yes = FindButton(w, QMessageBox::Yes)->text();
      no = FindButton(w, QMessageBox::No)->text();
      FindButton(w, QMessageBox::No)->click();
    });
    QCOMPARE(ShowMessageCode(nullptr, nullptr, u"Q22"_s), 7);
    QCOMPARE(yes, u"はい(&Y)"_s);
    QCOMPARE(no, u"いいえ(&N)"_s);
  }

  void escapeAnswers_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("result");
    QTest::newRow("OK box") << u"E11x"_s << 1;
    QTest::newRow("yes/no box answers No") << u"Q21x"_s << 7;
    QTest::newRow("yes/no/cancel box answers Cancel") << u"Q31x"_s << 2;
  }
  void escapeAnswers() {
    QFETCH(QString, code);
    QFETCH(int, result);
    WhenModalAppears([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(ShowMessageCode(nullptr, nullptr, code), result);
  }

  void invalidCodeShowsNothing_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("bad buttons") << u"E41text"_s;
    QTest::newRow("empty") << QString();
  }
  void invalidCodeShowsNothing() {
    QFETCH(QString, code);
    // Armed so that a wrongly shown box is closed and noticed instead of hanging the test.
    auto wait = WhenModalAppears([](QWidget* w) { w->close(); }, 500);
    QStatusBar bar;
    QCOMPARE(ShowMessageCode(nullptr, &bar, code, u"extra"_s), 0);
    QVERIFY(!wait->fired());
    wait->cancel();
    QCOMPARE(bar.currentMessage(), code);
    QCOMPARE(ShowMessageCode(nullptr, nullptr, code), 0);  // no status bar: just 0
  }

  void longBodyIsCutAtCharacterBoundary() {
    QString shown;
    WhenModalAppears([&shown](QWidget* w) {
      shown = qobject_cast<QMessageBox*>(w)->text();
      FindButton(w, QMessageBox::Ok)->click();
    });
    // 1 + 2 * 750 bytes: the cut at 1000 bytes would fall inside a character.
    const QString body = u"x"_s + QString(750, QChar(u'漢'));
    QCOMPARE(ShowMessageCode(nullptr, nullptr, u"I11"_s + body), 1);
    QVERIFY(Cp932Length(shown) <= kMessageBodyMaxBytes);
    QCOMPARE(Cp932Length(shown), 999);
    QVERIFY(body.startsWith(shown));
  }

  // A box asked from inside a modal dialog is driven by a wait armed from the dialog's action.
  void nestedModals() {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* go = new QPushButton(u"go"_s, &dialog);
    layout->addWidget(go);
    int answer = -1;
    connect(go, &QPushButton::clicked, &dialog, [&] {
      answer = ShowMessageCode(&dialog, nullptr, msg::kConfirmQuit);
      dialog.accept();
    });
    QWidget* boxOwner = nullptr;
    auto outer = WhenModalAppears([&](QWidget* w) {
      WhenModalAppears([&](QWidget* box) {
        boxOwner = box->parentWidget();
        FindButton(box, QMessageBox::Yes)->click();
      });
      FindButton(w, u"go"_s)->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(outer->fired());
    QCOMPARE(answer, 6);
    QCOMPARE(boxOwner, &dialog);
  }

  void centerOnScreen() {
    QWidget form;
    form.resize(301, 201);  // odd differences put the centre on a half pixel
    CenterOnScreen(&form);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(form.pos(), CenteredTopLeft(screen, QSize(301, 201)));
    // Sanity: the window really is in the middle, to within the half pixel.
    QVERIFY(qAbs((form.x() * 2 + 301) - (screen.left() * 2 + screen.width())) <= 1);
    QVERIFY(qAbs((form.y() * 2 + 201) - (screen.top() * 2 + screen.height())) <= 1);
  }
};

EXAMORA_TEST(TestMessageBox)
#include "tst_messagebox.moc"
