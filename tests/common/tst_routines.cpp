#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/Dates.h"
#include "common/ExeFolder.h"
#include "common/FileList.h"
#include "common/Numbers.h"
#include "common/RunLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace

class TestCommonRoutines : public QObject {
  Q_OBJECT

 private slots:
  void dates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("not a leap year") << u"2013/02/29"_s << false;
    QTest::newRow("leap year") << u"2012/02/29"_s << true;
    QTest::newRow("century not leap") << u"1900/02/29"_s << false;
    QTest::newRow("month 13") << u"2013/13/01"_s << false;
    QTest::newRow("day 0") << u"2013/01/00"_s << false;
    QTest::newRow("one-digit month and day") << u"2013/1/5"_s << true;
    QTest::newRow("dashes") << u"2013-01-05"_s << false;
    QTest::newRow("day first") << u"05/01/2013"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("letters") << u"2013/ab/01"_s << false;
  }
  void dates() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidDateText(text), valid);
  }

  void lastDayOfMonth_data() {
    QTest::addColumn<QString>("yearMonth");
    QTest::addColumn<QString>("expected");
    QTest::newRow("february") << u"2013/02"_s << u"2013/02/28"_s;
    QTest::newRow("leap february") << u"2012/02"_s << u"2012/02/29"_s;
    QTest::newRow("30 days") << u"2013/04"_s << u"2013/04/30"_s;
    QTest::newRow("31 days") << u"2013/12"_s << u"2013/12/31"_s;
    QTest::newRow("month 13") << u"2013/13"_s << u"0000/00/00"_s;
    QTest::newRow("empty") << QString() << u"0000/00/00"_s;
  }
  void lastDayOfMonth() {
    QFETCH(QString, yearMonth);
    QFETCH(QString, expected);
    QCOMPARE(LastDayOfMonthText(yearMonth), expected);
  }

  void padDigits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pads") << u"7"_s << 2 << u"07"_s;
    QTest::newRow("exact") << u"12"_s << 2 << u"12"_s;
    QTest::newRow("skips letters") << u"1a2"_s << 4 << u"0012"_s;
    QTest::newRow("empty") << QString() << 2 << u"00"_s;
    QTest::newRow("keeps the rightmost digits") << u"123"_s << 2 << u"23"_s;
    QTest::newRow("full-width digits are not digits") << u"１2"_s << 2 << u"02"_s;
    QTest::newRow("sign skipped") << u"-5"_s << 3 << u"005"_s;
    QTest::newRow("zero width") << u"5"_s << 0 << QString();
  }
  void padDigits() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(PadDigits(text, width), expected);
  }

  void truncateDecimals_data() {
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("product just below an integer is not cut") << 2 << 1.15 << 1.15;
    QTest::newRow("cut") << 1 << 2.99 << 2.9;
    QTest::newRow("towards zero when negative") << 0 << -2.7 << -2.0;
    QTest::newRow("negative just below an integer") << 2 << -1.15 << -1.15;
    QTest::newRow("0.29 * 100") << 2 << 0.29 << 0.29;
    QTest::newRow("already integral") << 0 << 5.0 << 5.0;
  }
  void truncateDecimals() {
    QFETCH(int, decimals);
    QFETCH(double, x);
    QFETCH(double, expected);
    QCOMPARE(TruncateDecimals(decimals, x), expected);
  }

  void roundHalfUp_data() {
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("half up") << 0 << 2.5 << 3.0;
    QTest::newRow("half away from zero") << 0 << -2.5 << -3.0;
    QTest::newRow("one decimal") << 1 << 1.25 << 1.3;
    QTest::newRow("below half") << 0 << 2.49 << 2.0;
    QTest::newRow("1.005 held below the half still rounds up") << 2 << 1.005 << 1.01;
    QTest::newRow("even half is not to even") << 0 << 4.5 << 5.0;
  }
  void roundHalfUp() {
    QFETCH(int, decimals);
    QFETCH(double, x);
    QFETCH(double, expected);
    QCOMPARE(RoundHalfUp(decimals, x), expected);
  }

  void centring_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("even difference")
        << QRect(0, 0, 1024, 768) << QSize(800, 600) << QPoint(112, 84);
    QTest::newRow("half pixel rounds to even (down)")
        << QRect(0, 0, 1025, 769) << QSize(800, 600) << QPoint(112, 84);
    QTest::newRow("half pixel rounds to even (up)")
        << QRect(0, 0, 1027, 771) << QSize(800, 600) << QPoint(114, 86);
    QTest::newRow("larger than the screen")
        << QRect(0, 0, 800, 600) << QSize(1001, 600) << QPoint(-100, 0);
    QTest::newRow("screen origin kept")
        << QRect(100, 50, 1024, 768) << QSize(800, 600) << QPoint(212, 134);
  }
  void centring() {
    QFETCH(QRect, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, expected);
    QCOMPARE(CenteredTopLeft(screen, window), expected);
  }

  void includeBackslash_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("appends") << u"C:\\exam"_s << u"C:\\exam\\"_s;
    QTest::newRow("keeps") << u"C:\\exam\\"_s << u"C:\\exam\\"_s;
    QTest::newRow("empty") << QString() << u"\\"_s;
  }
  void includeBackslash() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    IncludeBackslash(path);
    QCOMPARE(path, expected);
  }

  void writeLogStartsFileWithHeaderAndAppends() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SetExeFolder(dir.path());
    QVERIFY(QDir(dir.path()).mkpath(u"system/1"_s));
    const QDateTime t1(QDate(2013, 2, 3), QTime(4, 5, 6, 7));
    const QDateTime t2(QDate(2013, 12, 31), QTime(23, 59, 59, 999));
    WriteLog(u"QZTP0020：開始"_s, u"1"_s, u"log.txt"_s, t1);
    WriteLog(u"QZTP0020：次へ"_s, u"1"_s, u"log.txt"_s, t2);
    const QByteArray expected = ToCp932(
        u"以下のログを検出しました。\r\n\r\n"
        u"2013/02/03\t04:05:06.007\tQZTP0020：開始\r\n"
        u"2013/12/31\t23:59:59.999\tQZTP0020：次へ\r\n"_s);
    QCOMPARE(ReadBytes(dir.filePath(u"system/1/log.txt"_s)), expected);
  }

  void writeLogAppendsToExistingFileWithoutHeader() {
    QTemporaryDir dir;
    SetExeFolder(dir.path());
    QVERIFY(QDir(dir.path()).mkpath(u"system"_s));
    WriteBytes(dir.filePath(u"system/cpu.txt"_s), "old\r\n");
    WriteLog(u"load"_s, QString(), u"cpu.txt"_s);  // real clock: check the shape only
    const QString text = FromCp932(ReadBytes(dir.filePath(u"system/cpu.txt"_s)));
    static const QRegularExpression shape(
        QStringLiteral("^old\r\n[0-9]{4}/[0-9]{2}/"
                       "[0-9]{2}\t[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}\tload\r\n$"));
    QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
  }

  void writeLogIntoMissingFolderIsSilent() {
    QTemporaryDir dir;
    SetExeFolder(dir.path());
    WriteLog(u"lost"_s, u"2"_s);
    QVERIFY(!QFileInfo::exists(dir.filePath(u"system/2"_s)));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"system"_s)));
  }

  void collectFiles_data() {
    QTest::addColumn<bool>("recurse");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("recursing") << true << u"*.*"_s
                               << QStringList{u"a.txt"_s, u"B.txt"_s, u"noext"_s, u"sub/c.doc"_s,
                                              u"sub/deep/d.txt"_s};
    QTest::newRow("top level only")
        << false << u"*.*"_s << QStringList{u"a.txt"_s, u"B.txt"_s, u"noext"_s};
    QTest::newRow("mask by extension, case-insensitive")
        << false << u"*.TXT"_s << QStringList{u"a.txt"_s, u"B.txt"_s};
  }
  void collectFiles() {
    QFETCH(bool, recurse);
    QFETCH(QString, mask);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(QDir(root).mkpath(u"sub/deep"_s));
    WriteBytes(root + u"/B.txt"_s, "b");
    WriteBytes(root + u"/a.txt"_s, "a");
    WriteBytes(root + u"/noext"_s, "n");
    WriteBytes(root + u"/empty.txt"_s, "");
    WriteBytes(root + u"/.hidden.txt"_s, "h");
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(
                           QDir::toNativeSeparators(root + u"/.hidden.txt"_s).utf16()),
                       FILE_ATTRIBUTE_HIDDEN);
#endif
    WriteBytes(root + u"/sub/c.doc"_s, "c");
    WriteBytes(root + u"/sub/deep/d.txt"_s, "d");

    QStringList list;
    CollectFiles(QDir::toNativeSeparators(root) + u"\\"_s, mask, list, recurse, false);
    QStringList relative;
    for (const QString& p : list) {
      QVERIFY2(p.startsWith(root + u"/"_s), qPrintable(p));
      relative << p.mid(root.size() + 1);
    }
    QCOMPARE(relative, expected);
  }

  void collectFilesKeepsWhatTheListHeld() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath(u"x.txt"_s), "x");
    QStringList list{dir.filePath(u"y.txt"_s)};  // kept, and sorted in with the new entry
    CollectFiles(dir.path(), u"*.*"_s, list, true, false);
    QCOMPARE(list, (QStringList{dir.filePath(u"x.txt"_s), dir.filePath(u"y.txt"_s)}));

    QStringList none;
    CollectFiles(dir.filePath(u"missing"_s), u"*.*"_s, none, true, false);
    QVERIFY(none.isEmpty());
  }

  void collectFilesClearsReadOnly() {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"locked.txt"_s);
    WriteBytes(file, "x");
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser));
    QStringList list;
    CollectFiles(dir.path(), u"*.*"_s, list, true, false);
    QVERIFY(!(QFileInfo(file).permissions() & QFile::WriteOwner));  // untouched without the flag
    CollectFiles(dir.path(), u"*.*"_s, list, true, true);
    QVERIFY(QFileInfo(file).permissions() & QFile::WriteOwner);
  }

#ifndef Q_OS_WIN
  void collectFilesDoesNotFollowFolderLinks() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"sub"_s));
    WriteBytes(dir.filePath(u"sub/f.txt"_s), "f");
    QVERIFY(QFile::link(dir.path(), dir.filePath(u"sub/loop"_s)));
    QStringList list;
    CollectFiles(dir.path(), u"*.*"_s, list, true, false);
    QCOMPARE(list, QStringList{dir.filePath(u"sub/f.txt"_s)});
  }
#endif

  void countSubfolders() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"mondai/1"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"mondai/2/inner"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"mondai/3"_s));
    WriteBytes(dir.filePath(u"mondai/file.txt"_s), "f");
    QCOMPARE(CountSubfolders(dir.filePath(u"mondai"_s) + u"\\"_s), 3);
    QCOMPARE(CountSubfolders(dir.filePath(u"mondai/3"_s)), 0);
    QCOMPARE(CountSubfolders(dir.filePath(u"missing/"_s)), 0);
  }

#ifndef Q_OS_WIN
  // A folder the system cannot open for the candidate says why, for the log; the opener runs
  // detached, so success is only that it was started.
  void openingAFolderSaysWhyItFailed() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());  // no file-manager opener here
    const QString missingOpener = OpenFolderForCandidate(dir.path());
    QFile opener(dir.filePath(QStringLiteral("xdg-open")));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QString opened = OpenFolderForCandidate(dir.path());
    const QString missingFolder = OpenFolderForCandidate(dir.filePath(QStringLiteral("gone")));
    qputenv("PATH", path);
    QVERIFY2(missingOpener.startsWith(QStringLiteral("フォルダーを開けません：")) &&
                 missingOpener.contains(QStringLiteral("xdg-open")),
             qPrintable(missingOpener));
    QVERIFY2(opened.isEmpty(), qPrintable(opened));
    QVERIFY(missingFolder.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("gone")))));
  }
#endif
};

EXAMORA_TEST(TestCommonRoutines)
#include "tst_routines.moc"
