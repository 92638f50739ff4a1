#include "TestRegistry.h"
#include "data/CommaText.h"

#include <QTest>

using namespace examora;

class TestCommaText : public QObject {
  Q_OBJECT

 private slots:
  void split_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    auto row = [](const char* name, const char16_t* text, QStringList items) {
      QTest::newRow(name) << QString::fromUtf16(text) << items;
    };
    row("empty text", u"", {});
    row("only blanks", u"  \t ", {});
    row("one item", u"abc", {QStringLiteral("abc")});
    row("commas", u"a,b,c", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    row("blank after comma is part of it", u"a, b", {QStringLiteral("a"), QStringLiteral("b")});
    row("blanks around comma", u"a  ,  b", {QStringLiteral("a"), QStringLiteral("b")});
    row("blank alone separates", u"a b", {QStringLiteral("a"), QStringLiteral("b")});
    row("tab and CR separate", u"a\tb\rc",
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    row("leading and trailing blanks skipped", u"  a  ", {QStringLiteral("a")});
    row("empty field kept", u"a,,b", {QStringLiteral("a"), QString(), QStringLiteral("b")});
    row("blank-only field kept empty", u"a, ,b",
        {QStringLiteral("a"), QString(), QStringLiteral("b")});
    row("leading comma", u",a", {QString(), QStringLiteral("a")});
    row("trailing comma", u"a,", {QStringLiteral("a"), QString()});
    row("two trailing commas", u"a,,", {QStringLiteral("a"), QString(), QString()});
    row("trailing comma then blank", u"a, ", {QStringLiteral("a")});
    row("single comma", u",", {QString(), QString()});
    row("quoted comma and blank", u"\"a, b\",c", {QStringLiteral("a, b"), QStringLiteral("c")});
    row("doubled quote", u"\"say \"\"hi\"\"\"", {QStringLiteral("say \"hi\"")});
    row("quoted empty item", u"\"\"", {QString()});
    row("quoted empty between commas", u"a,\"\",b",
        {QStringLiteral("a"), QString(), QStringLiteral("b")});
    row("text after closing quote is next item", u"\"ab\"cd",
        {QStringLiteral("ab"), QStringLiteral("cd")});
    row("quote inside item is ordinary", u"ab\"cd", {QStringLiteral("ab\"cd")});
    row("unterminated quote keeps the rest", u"x,\"abc, d",
        {QStringLiteral("x"), QStringLiteral("abc, d")});
    QTest::newRow("NUL ends the text") << QString::fromUtf16(u"a,b\0,c", 6)
                                       << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    row("Japanese items", u"試験時間：５０分,（休憩なし）",
        {QStringLiteral("試験時間：５０分"), QStringLiteral("（休憩なし）")});
    row("full-width blank is not a separator", u"合計　点, x",
        {QStringLiteral("合計　点"), QStringLiteral("x")});
    row("answer line with unanswered tail", u"G,1,12345,1001,3,,",
        {QStringLiteral("G"), QStringLiteral("1"), QStringLiteral("12345"), QStringLiteral("1001"),
         QStringLiteral("3"), QString(), QString()});
  }
  void split() {
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(SplitCommaText(text), items);
  }
};

EXAMORA_TEST(TestCommaText)
#include "tst_commatext.moc"
