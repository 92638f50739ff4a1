#include "TestRegistry.h"
#include "common/Cp932.h"
#include "data/AnswerRecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace examora;

namespace {

AnswerRecord Record(QStringList answers) {
  AnswerRecord r;
  r.gradeCode = QStringLiteral("G2");
  r.partCode = QStringLiteral("1");
  r.venueCode = QStringLiteral("01234");
  r.candidateNumber = QStringLiteral("1001");
  r.answers = std::move(answers);
  return r;
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

class TestAnswerRecord : public QObject {
  Q_OBJECT

 private slots:
  void buildLine_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("line");
    QTest::newRow("2 and 1 sub-questions, only the first answered")
        << QStringList{QStringLiteral("3"), QString(), QString()}
        << QStringLiteral("G2,1,01234,1001,3,,");
    QTest::newRow("first and last of four")
        << QStringList{QStringLiteral("3"), QString(), QString(), QStringLiteral("2")}
        << QStringLiteral("G2,1,01234,1001,3,,,2");
    QTest::newRow("no sub-questions") << QStringList{} << QStringLiteral("G2,1,01234,1001");
  }
  void buildLine() {
    QFETCH(QStringList, answers);
    QFETCH(QString, line);
    QCOMPARE(BuildAnswerLine(Record(answers)), line);
    // Reading the line back restores the answers exactly.
    QCOMPARE(ParseAnswerLine(line).answers, answers);
  }

  void fileBytesAreCp932WithCrLf() {
    AnswerRecord r = Record({QStringLiteral("1")});
    r.gradeCode = QStringLiteral("２級");
    QCOMPARE(AnswerFileBytes(r), ToCp932(u"２級,1,01234,1001,1") + QByteArray("\r\n"));
  }

  void answersCappedAtHundred() {
    QStringList many;
    for (int i = 0; i < 120; ++i) many.append(QStringLiteral("1"));
    const QString line = BuildAnswerLine(Record(many));
    QCOMPARE(line.count(u','), 3 + kMaxAnswers);
    QCOMPARE(ParseAnswerLine(line + QStringLiteral(",2,2")).answers.size(), kMaxAnswers);
  }

  void parse_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("venue");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("stored answers")
        << QStringLiteral("G,1,12345,1001,3,,5") << QStringLiteral("12345")
        << QStringList{QStringLiteral("3"), QString(), QStringLiteral("5")};
    QTest::newRow("short line has no answers")
        << QStringLiteral("G,1,12345") << QStringLiteral("12345") << QStringList{};
    QTest::newRow("empty line") << QString() << QString() << QStringList{};
    QTest::newRow("blank in venue shifts answers on plain reading")
        << QStringLiteral("G,1,12 345,1001,3,4") << QStringLiteral("12")
        << QStringList{QStringLiteral("1001"), QStringLiteral("3"), QStringLiteral("4")};
  }
  void parse() {
    QFETCH(QString, line);
    QFETCH(QString, venue);
    QFETCH(QStringList, answers);
    const AnswerRecord r = ParseAnswerLine(line);
    QCOMPARE(r.venueCode, venue);
    QCOMPARE(r.answers, answers);
    QCOMPARE(r.AnswerAt(answers.size()), QString());  // past the line: unanswered
  }

  void scoringReadingKeepsBlanksInsideFields() {
    const AnswerRecord r = ParseAnswerLineForScoring(QStringLiteral("G,1,12 345,1001,3,4"));
    QCOMPARE(r.venueCode, QStringLiteral("12　345"));
    QCOMPARE(r.answers, (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
  }

  void firstLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF") << QByteArray("a,b\r\nc\r\n") << QStringLiteral("a,b");
    QTest::newRow("LF only") << QByteArray("a,b\nc") << QStringLiteral("a,b");
    QTest::newRow("no line break") << QByteArray("a,b") << QStringLiteral("a,b");
    QTest::newRow("empty line first") << QByteArray("\r\nx") << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("CP932 text") << ToCp932(u"２級,1\r\n") << QStringLiteral("２級,1");
  }
  void firstLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    QCOMPARE(FirstLineOf(bytes), line);
  }

  void writeReadRoundTrip() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.csv"));
    WriteBytes(path, QByteArray("old,much,longer,line,1,2,3,4,5,1,2,3,4,5\r\n"));
    const AnswerRecord r = Record({QString(), QStringLiteral("2"), QString()});
    QVERIFY(WriteAnswerFile(path, r).ok);
    QCOMPARE(ReadBytes(path), QByteArray("G2,1,01234,1001,,2,\r\n"));
    QCOMPARE(ReadAnswerFile(path).answers, r.answers);
  }

  void writeIntoMissingFolderFails() {
    QTemporaryDir dir;
    const WriteResult result =
        WriteAnswerFile(dir.filePath(QStringLiteral("none/a.csv")), Record({}));
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
  }

  void missingOrEmptyFileHasNoAnswers() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.csv"));
    QVERIFY(ReadAnswerFile(path).answers.isEmpty());
    WriteBytes(path, QByteArray());
    QVERIFY(ReadAnswerFile(path).answers.isEmpty());
    QVERIFY(ReadAnswerFileForScoring(path).answers.isEmpty());
  }

  void createEmptyOnlyWhenMissing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.csv"));
    QVERIFY(CreateEmptyAnswerFile(path).ok);
    QCOMPARE(ReadBytes(path), QByteArray("\r\n"));
    QVERIFY(ReadAnswerFile(path).answers.isEmpty());

    WriteBytes(path, QByteArray("G,1,1,1,4\r\n"));
    QVERIFY(CreateEmptyAnswerFile(path).ok);
    QCOMPARE(ReadBytes(path), QByteArray("G,1,1,1,4\r\n"));
  }
};

EXAMORA_TEST(TestAnswerRecord)
#include "tst_answerrecord.moc"
