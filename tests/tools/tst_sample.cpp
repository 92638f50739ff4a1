#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include "Fixture.h"
#include "SampleInstallation.h"
#include "TestRegistry.h"
#include "common/Cp932.h"

using namespace examora;
using namespace Qt::StringLiterals;
using examora::test::FixtureInstallation;

namespace {

// Relative path -> content hash of every file below root.
QMap<QString, QByteArray> Snapshot(const QString& root) {
  QMap<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
      files.insert(QDir(root).relativeFilePath(path),
                   QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
  }
  return files;
}

QStringList FilesMatching(const QString& root, const QStringList& patterns) {
  QStringList out;
  QDirIterator it(root, patterns, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) out << QDir(root).relativeFilePath(it.next());
  out.sort();
  return out;
}

// Keys of [section] in file order, read without the program's INI code.
QStringList SectionKeys(const QByteArray& bytes, const QString& section) {
  QStringList keys;
  bool in = false;
  for (QString line : FromCp932(bytes).split(QStringLiteral("\r\n"))) {
    if (line.startsWith(QLatin1Char('['))) {
      in = line == QLatin1Char('[') + section + QLatin1Char(']');
      continue;
    }
    if (in && line.contains(QLatin1Char('='))) keys << line.section(QLatin1Char('='), 0, 0);
  }
  return keys;
}

QStringList Sections(const QByteArray& bytes) {
  QStringList names;
  for (const QString& line : FromCp932(bytes).split(QStringLiteral("\r\n")))
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
      names << line.mid(1, line.size() - 2);
  return names;
}

}  // namespace

class TestSampleInstallation : public QObject {
  Q_OBJECT

  FixtureInstallation sample_;

 private slots:
  void initTestCase() {
    sample_.fromSample();
    QVERIFY2(sample_.ok(), qPrintable(sample_.error()));
  }

  void sameBytesOnEveryRun() {
    QTemporaryDir other;
    QVERIFY(sample::BuildSampleInstallation(other.path()));
    const auto first = Snapshot(sample_.root());
    QVERIFY(first.size() > 50);
    QCOMPARE(Snapshot(other.path()), first);
  }

  void textFilesAreCp932WithCrLf() {
    const QStringList files =
        FilesMatching(sample_.root(),
                      {QStringLiteral("*.ini"), QStringLiteral("*.html"), QStringLiteral("*.txt")});
    QVERIFY(files.size() > 30);
    for (const QString& rel : files) {
      if (rel.startsWith(QStringLiteral("実技用/site/"))) continue;  // the candidate's UTF-8 site
      const QByteArray bytes = sample_.readBytes(rel);
      const QString text = FromCp932(bytes);
      QCOMPARE(ToCp932(text), bytes);
      QVERIFY2(!bytes.contains('?'), qPrintable(rel));  // nothing was lost in the encoding
      // ICU's windows-31j, where Qt has it, is a decoder independent of ours.
      QStringDecoder icu("windows-31j");
      if (icu.isValid()) {
        QCOMPARE(QString(icu.decode(bytes)), text);
        QVERIFY2(!icu.hasError(), qPrintable(rel));
      }
      QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    }
  }

  void keysThePartsNeed_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const QString sys = QStringLiteral("system/system.ini");
    QTest::newRow("parts") << sys << u"基本情報"_s << u"部数"_s << u"4"_s;
    QTest::newRow("sample flag") << sys << u"基本情報"_s << u"サンプル問題"_s << u"1"_s;
    QTest::newRow("exam name") << sys << u"基本情報"_s << u"試験名"_s << u"コンピュータ技能検定"_s;
    QTest::newRow("grade") << sys << u"基本情報"_s << u"級名"_s << u"２級"_s;
    QTest::newRow("two-part display") << sys << u"基本情報"_s << u"表示タイプ"_s << u"4"_s;
    QTest::newRow("era") << sys << u"年度"_s << u"1989"_s << u"平成"_s;
    QTest::newRow("birth start") << sys << u"生年月日"_s << u"開始"_s << u"1930"_s;
    QTest::newRow("1 category") << u"system/1/setup.ini"_s << u"基本情報"_s << u"試験区分"_s
                                << u"1"_s;
    QTest::newRow("1 type") << u"system/1/setup.ini"_s << u"基本情報"_s << u"受験タイプ"_s
                            << u"1"_s;
    QTest::newRow("1 name") << u"system/1/setup.ini"_s << u"基本情報"_s << u"部種名称"_s
                            << u"知識"_s;
    QTest::newRow("2 category") << u"system/2/setup.ini"_s << u"基本情報"_s << u"試験区分"_s
                                << u"2"_s;
    QTest::newRow("2 type") << u"system/2/setup.ini"_s << u"基本情報"_s << u"受験タイプ"_s
                            << u"2"_s;
    QTest::newRow("2 name") << u"system/2/setup.ini"_s << u"基本情報"_s << u"部種名称"_s
                            << u"実技"_s;
    QTest::newRow("2 sample button")
        << u"system/2/setup.ini"_s << u"基本情報"_s << u"見本ボタン名"_s << u"仕上り見本"_s;
    QTest::newRow("4 web type") << u"system/4/setup.ini"_s << u"基本情報"_s << u"受験タイプ"_s
                                << u"3"_s;
    QTest::newRow("4 category") << u"system/4/setup.ini"_s << u"基本情報"_s << u"試験区分"_s
                                << u"1"_s;
    QTest::newRow("4 practice marker")
        << u"system/Z4/setup.ini"_s << u"基本情報"_s << u"受験タイプ"_s << u"3"_s;
    QTest::newRow("practice time")
        << u"system/Z1/setup.ini"_s << u"試験時間"_s << u"all"_s << u"5"_s;
    QTest::newRow("link mode unset")
        << u"system/shiken.ini"_s << u"受験者情報"_s << u"連携"_s << QString();
  }
  void keysThePartsNeed() {
    QFETCH(QString, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(!sample_.readBytes(file).isEmpty());
    QCOMPARE(sample_.readIni(file, section, key), value);
    QVERIFY(SectionKeys(sample_.readBytes(file), section).contains(key));
  }

  void choiceCountsMatchThePages_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("exam") << u"system/1"_s;
    QTest::newRow("practice") << u"system/Z1"_s;
  }
  void choiceCountsMatchThePages() {
    QFETCH(QString, folder);
    const QByteArray setup = sample_.readBytes(folder + u"/setup.ini"_s);
    const QStringList keys = SectionKeys(setup, u"選択数"_s);
    QVERIFY(!keys.isEmpty());
    QStringList folders = QDir(sample_.path(folder + u"/html/q/setsumon"_s))
                              .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    auto order = [](const QString& k) {
      return k.section(QLatin1Char('-'), 0, 0).toInt() * 100 +
             k.section(QLatin1Char('-'), 1, 1).toInt();
    };
    std::sort(folders.begin(), folders.end(),
              [&](const QString& a, const QString& b) { return order(a) < order(b); });
    QCOMPARE(keys, folders);  // in question order, numbered without gaps
    const int questions = keys.last().section(QLatin1Char('-'), 0, 0).toInt();
    QCOMPARE(QDir(sample_.path(folder + u"/html/q/mondai"_s))
                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                 .size(),
             questions);

    const QString all = FromCp932(sample_.readBytes(folder + u"/html/q/all/index.html"_s));
    for (const QString& key : keys) {
      const int choices = sample_.readIni(folder + u"/setup.ini"_s, u"選択数"_s, key).toInt();
      QVERIFY(choices >= 1 && choices <= 5);
      const QString page =
          FromCp932(sample_.readBytes(folder + u"/html/q/setsumon/"_s + key + u"/index.html"_s));
      QCOMPARE(page.count(u"<li>"_s), qsizetype(choices));
      // The practice sheet takes its choice counts from part 1's setup.ini.
      QCOMPARE(sample_.readIni(u"system/1/setup.ini"_s, u"選択数"_s, key).toInt(), choices);
      const QString q = key.section(QLatin1Char('-'), 0, 0);
      const QString s = key.section(QLatin1Char('-'), 1, 1);
      const QString anchor = u"id=\"t"_s + q + u's' + s + u'"';
      QVERIFY2(all.contains(anchor), qPrintable(anchor));
      const QString byQuestion =
          FromCp932(sample_.readBytes(folder + u"/html/q/mondai/"_s + q + u"/index.html"_s));
      QVERIFY(byQuestion.contains(anchor));
      QVERIFY(byQuestion.contains(u"id=\"t"_s + q + u'"'));
    }
  }

  void partOneHasThreeQuestionsOfTwoToFour() {
    const QStringList keys = SectionKeys(sample_.readBytes(u"system/1/setup.ini"_s), u"選択数"_s);
    QMap<QString, int> perQuestion;
    for (const QString& k : keys) ++perQuestion[k.section(QLatin1Char('-'), 0, 0)];
    QVERIFY(perQuestion.size() >= 3);
    for (int n : perQuestion) QVERIFY(n >= 2 && n <= 4);
    QVERIFY(sample_.exists(u"system/1/html/q/midashi/1/index.html"_s));
    QVERIFY(sample_.exists(u"system/1/html/q/midashi/all/index.html"_s));
    QVERIFY(FromCp932(sample_.readBytes(u"system/1/html/q/all/index.html"_s))
                .contains(u"id=\"midashi1\""_s));
  }

  void answerKeyFollowsTheChoiceCounts() {
    const QByteArray seito = sample_.readBytes(u"system/seito[1].ini"_s);
    const QStringList keys = SectionKeys(sample_.readBytes(u"system/1/setup.ini"_s), u"選択数"_s);
    QStringList expected = keys;
    expected.replaceInStrings(u"-"_s, u"_"_s);
    QCOMPARE(Sections(seito), expected);
    int total = 0;
    for (const QString& key : keys) {
      const QString section = QString(key).replace(QLatin1Char('-'), QLatin1Char('_'));
      const QString answer = sample_.readIni(u"system/seito[1].ini"_s, section, u"正答"_s);
      QVERIFY2(QRegularExpression(u"^[01]{5}$"_s).match(answer).hasMatch(), qPrintable(answer));
      const int choices = sample_.readIni(u"system/1/setup.ini"_s, u"選択数"_s, key).toInt();
      const qsizetype first = answer.indexOf(QLatin1Char('1'));
      QVERIFY(first >= 0 && first < choices);
      bool number = false;
      total += sample_.readIni(u"system/seito[1].ini"_s, section, u"配点"_s).toInt(&number);
      QVERIFY(number);
    }
    QCOMPARE(total, 100);
  }

  void notesPagesNameTheFolder_data() {
    QTest::addColumn<QString>("page");
    for (const char* part : {"1", "2"})
      for (int n = 1; n <= 3; ++n)
        QTest::newRow(qPrintable(QStringLiteral("%1/index%2").arg(QLatin1String(part)).arg(n)))
            << QStringLiteral("system/%1/html/c/index%2.html").arg(QLatin1String(part)).arg(n);
  }
  void notesPagesNameTheFolder() {
    QFETCH(QString, page);
    const QString html = FromCp932(sample_.readBytes(page));
    QVERIFY(html.contains(u"charset=\"Shift_JIS\""_s));
    QVERIFY(html.contains(u"name=\"FOLDER\""_s));
    // The pages form a run of three.
    QVERIFY(!sample_.exists(page.left(page.lastIndexOf(QLatin1Char('/'))) + u"/index4.html"_s));
  }

  void picturesDecode_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");  // invalid: any size
    const QString img = u"system/Image/"_s;
    QTest::newRow("bg") << img + u"bg.jpg"_s << QSize();
    QTest::newRow("title band") << img + u"bg_main_top.jpg"_s << QSize(1280, 122);
    QTest::newRow("bottom band") << img + u"bg_main_bottom.jpg"_s << QSize(1280, 80);
    for (const char* step : {"02", "03", "04", "05", "05_1", "06", "07", "08", "09", "09_1"})
      QTest::newRow(step) << img + u"procedure"_s + QLatin1String(step) + u".jpg"_s
                          << QSize(683, 59);
    for (const char* name : {"main_top_t.jpg", "main_top_z.jpg", "main_top_mondai_none.jpg",
                             "juken_info_input1.jpg", "juken_info_input2.jpg"})
      QTest::newRow(name) << img + QLatin1String(name) << QSize();
    QTest::newRow("explanation 1") << u"system/1/html/o/OperationExplanation.jpeg"_s << QSize();
    QTest::newRow("explanation 2") << u"system/2/html/o/OperationExplanation.jpeg"_s << QSize();
    QTest::newRow("site logo") << u"実技用/site/images/logo.png"_s << QSize();
  }
  void picturesDecode() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QImage image(sample_.path(file));
    QVERIFY2(!image.isNull(), qPrintable(file));
    if (size.isValid()) QCOMPARE(image.size(), size);
  }

  void coverPicturesHaveTheNamedExtensions_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("base");
    QTest::newRow("maker") << u"メーカー画像拡張子"_s << u"MakerImage"_s;
    QTest::newRow("exam") << u"試験画像拡張子"_s << u"ShikenImage"_s;
    QTest::newRow("grade info") << u"級個人情報画像拡張子"_s << u"KyuInfoImage"_s;
    QTest::newRow("grade top") << u"級TOP画像拡張子"_s << u"KyuTopImage"_s;
  }
  void coverPicturesHaveTheNamedExtensions() {
    QFETCH(QString, key);
    QFETCH(QString, base);
    const QString ext = sample_.readIni(u"system/system.ini"_s, u"基本情報"_s, key);
    QVERIFY(ext.startsWith(QLatin1Char('.')));
    const QImage image(sample_.path(u"system/Image/"_s + base + ext));
    QVERIFY(!image.isNull());
    // White is drawn transparent by the screens, so the corner must be pure white.
    QCOMPARE(image.pixel(0, 0) | 0xFF000000u, qRgb(255, 255, 255));
  }

  void finishedSamplePagesAreJpeg() {
    const QStringList pages =
        QDir(sample_.path(u"system/2/html/s"_s)).entryList({u"*.jpeg"_s}, QDir::Files, QDir::Name);
    QCOMPARE(pages.size(), 3);
    for (const QString& p : pages)
      QVERIFY(!QImage(sample_.path(u"system/2/html/s/"_s + p)).isNull());
  }

  void practicalWorkFolder() {
    for (const char* dir : {"実技用/site", "実技用/site/css", "実技用/site/images",
                            "実技用/site/js", "実技用/material"})
      QVERIFY2(QFileInfo(sample_.path(QString::fromUtf8(dir))).isDir(), dir);
    // Every file excluded from the open-file check exists in the work folder.
    const QStringList keys =
        SectionKeys(sample_.readBytes(u"system/2/update_check.ini"_s), u"更新チェック"_s);
    QVERIFY(!keys.isEmpty());
    for (const QString& key : keys) {
      const QString rel = sample_.readIni(u"system/2/update_check.ini"_s, u"更新チェック"_s, key);
      QVERIFY2(QFileInfo(sample_.path(u"実技用/"_s + rel)).isFile(), qPrintable(rel));
    }
    QVERIFY(!QDir(sample_.path(u"system/Z2"_s)).exists());
  }

  void replacesOnlyAPreviousSample() {
    QTemporaryDir dir;
    const QString target = dir.path() + u"/out"_s;
    QString error;
    QVERIFY(sample::PrepareSampleFolder(target, &error));  // missing folder
    QVERIFY(sample::BuildSampleInstallation(target));
    QFile extra(target + u"/system/1/a.csv"_s);
    QVERIFY(extra.open(QIODevice::WriteOnly));
    extra.close();
    QVERIFY(sample::PrepareSampleFolder(target, &error));
    QVERIFY(!QFileInfo::exists(target + u"/system"_s));

    const QString foreign = dir.path() + u"/foreign"_s;
    QVERIFY(QDir().mkpath(foreign + u"/keep"_s));
    QVERIFY(!sample::PrepareSampleFolder(foreign, &error));
    QVERIFY(error.contains(u"refusing"_s));
    QVERIFY(QFileInfo(foreign + u"/keep"_s).isDir());

    QFile file(dir.path() + u"/plain"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!sample::PrepareSampleFolder(file.fileName(), &error));
    QVERIFY(QFileInfo(file.fileName()).isFile());
  }
};

EXAMORA_TEST(TestSampleInstallation)
#include "tst_sample.moc"
