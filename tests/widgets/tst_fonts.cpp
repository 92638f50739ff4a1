#include "TestRegistry.h"
#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

using namespace examora;

class TestFonts : public QObject {
  Q_OBJECT

 private slots:
  // A screen's font names a face that is installed, so the face it asks for is the face it
  // gets. Asking for a face that is not installed (the Windows faces on Linux) sends every
  // size and weight through the system's slow fallback search, which may also settle on a
  // face other than the substitutes the program lists. The test machine has the IPA faces.
  void asksForAnInstalledFace_data() {
    QTest::addColumn<FontFace>("face");
    QTest::addColumn<bool>("bold");
    QTest::newRow("MS P Gothic") << FontFace::MsPGothic << false;
    QTest::newRow("MS P Gothic, bold") << FontFace::MsPGothic << true;
    QTest::newRow("MS Gothic") << FontFace::MsGothic << false;
    QTest::newRow("Meiryo, bold") << FontFace::Meiryo << true;
  }
  void asksForAnInstalledFace() {
    QFETCH(FontFace, face);
    QFETCH(bool, bold);
    QVERIFY2(QFontDatabase::families().contains(QStringLiteral("IPAPGothic")),
             "the IPA faces (fonts-ipafont-gothic) are not installed");
    const QFont font = UiFont(face, 15, bold);
    QCOMPARE(font.families().size(), 1);
    QVERIFY(QFontDatabase::families().contains(font.family()));
    QCOMPARE(QFontInfo(font).family(), font.family());
  }
};

EXAMORA_TEST(TestFonts)
#include "tst_fonts.moc"
