#include "SamplePictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStringList>

namespace examora::sample {
namespace {

// A Japanese Gothic face when one is installed; Qt falls back to any face otherwise, which
// only changes the look of the pictures.
QFont JapaneseFont(int pixelSize, bool bold = false) {
  QFont font;
  font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("VL PGothic"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QImage NewImage(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void Text(QPainter& p, const QRectF& r, const QString& text, int px, const QColor& colour,
          bool bold = false, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
  p.setFont(JapaneseFont(px, bold));
  p.setPen(colour);
  p.drawText(r, flags, text);
}

void Button(QPainter& p, const QRectF& r, const QString& caption, const QColor& top,
            const QColor& bottom, int px = 11) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(r, 4, 4);
  Text(p, r, caption, px, Qt::white, true, Qt::AlignCenter);
}

void Callout(QPainter& p, QPointF centre, int number) {
  p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 2));
  p.setBrush(QColor(0xE0, 0x30, 0x30));
  p.drawEllipse(centre, 11, 11);
  Text(p, QRectF(centre.x() - 11, centre.y() - 11, 22, 22), QString::number(number), 14, Qt::white,
       true, Qt::AlignCenter);
}

void Lines(QPainter& p, QRectF area, int count, const QColor& colour, qreal step = 14) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int i = 0; i < count; ++i) {
    const qreal w = area.width() * (i % 3 == 2 ? 0.62 : 0.94 - 0.04 * (i % 2));
    p.drawRect(QRectF(area.left(), area.top() + i * step, w, 6));
  }
}

}  // namespace

QImage TestPattern(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int r = width > 1 ? 40 + 180 * x / (width - 1) : 40;
      const int g = height > 1 ? 60 + 150 * y / (height - 1) : 60;
      line[x] = qRgb(r, g, 140);
    }
  }
  QPainter p(&image);
  p.setPen(QPen(QColor(20, 30, 90), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, width - 1, height - 1);
  p.drawLine(0, 0, width - 1, height - 1);
  return image;
}

QImage DrawScreenBackground(int width, int height) {
  QImage image = NewImage(width, height, Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, height);
  g.setColorAt(0, QColor(0x1B, 0x2A, 0x5C));
  g.setColorAt(0.6, QColor(0x2E, 0x4F, 0x86));
  g.setColorAt(1, QColor(0x3C, 0x6E, 0x9E));
  p.fillRect(image.rect(), g);
  // Soft light from the upper right and a faint diagonal weave.
  QRadialGradient light(width * 0.8, height * 0.1, width * 0.7);
  light.setColorAt(0, QColor(255, 255, 255, 40));
  light.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(image.rect(), light);
  p.setPen(QPen(QColor(255, 255, 255, 12), 1));
  for (int x = -height; x < width; x += 24) p.drawLine(x, 0, x + height, height);
  return image;
}

QImage DrawTitleBand(int width, int height) {
  QImage image = NewImage(width, height, Qt::black);
  QPainter p(&image);
  QLinearGradient g(0, 0, 0, 70);
  g.setColorAt(0, QColor(0x5B, 0x3C, 0x8C));
  g.setColorAt(0.5, QColor(0x3E, 0x27, 0x6E));
  g.setColorAt(1, QColor(0x2B, 0x1B, 0x5E));
  p.fillRect(image.rect(), g);
  p.fillRect(QRect(0, 1, width, 2), QColor(0x8E, 0x7B, 0xC6));
  p.setPen(QPen(QColor(255, 255, 255, 14), 1));
  for (int x = 0; x < width; x += 6) p.drawLine(x, 0, x, height);
  return image;
}

QImage DrawBottomBand(int width, int height) {
  QImage image = NewImage(width, height, Qt::white);
  QPainter p(&image);
  // The band shows rows 26 to 78 of the picture.
  QLinearGradient g(0, 26, 0, height);
  g.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  g.setColorAt(1, QColor(0xE6, 0xDC, 0xF0));
  p.fillRect(QRect(0, 26, width, height - 26), g);
  p.fillRect(QRect(0, 27, width, 2), QColor(0x8E, 0x7B, 0xA6));
  return image;
}

QImage DrawStepStrip(int current, bool afterPractice) {
  static const char16_t* const kLabels[] = {u"開始",     u"受験者情報", u"注意事項", u"操作説明",
                                            u"知識問題", u"受験者確認", u"注意事項", u"操作説明",
                                            u"実技問題", u"提出"};
  const int width = 683;
  const int height = 59;
  QImage image = NewImage(width, height, QColor(0xF5, 0xEC, 0xFA));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal cell = (width - 2.0) / 10.0;
  // Group captions above the knowledge (02-05) and practical (06-09) steps.
  const QColor groupColour(0x6B, 0x4E, 0x9B);
  for (int group = 0; group < 2; ++group) {
    const QRectF r(1 + cell * (1 + group * 4), 1, cell * 4 - 4, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(group == 0 ? QColor(0xDD, 0xD0, 0xEE) : QColor(0xD0, 0xE4, 0xF2));
    p.drawRoundedRect(r, 3, 3);
    Text(p, r, group == 0 ? QStringLiteral("第１部　知識問題") : QStringLiteral("第２部　実技問題"),
         11, groupColour, true, Qt::AlignCenter);
  }
  for (int i = 0; i < 10; ++i) {
    const int step = i + 1;
    const qreal x = 1 + cell * i;
    const qreal y = 19;
    const qreal h = 38;
    QPolygonF shape;
    shape << QPointF(x, y) << QPointF(x + cell - 7, y) << QPointF(x + cell, y + h / 2)
          << QPointF(x + cell - 7, y + h) << QPointF(x, y + h);
    if (i > 0) shape << QPointF(x + 7, y + h / 2);
    QColor fill;
    QColor text;
    if (step < current) {
      fill = QColor(0xB9, 0xA7, 0xC9);
      text = QColor(0xF8, 0xF4, 0xFC);
    } else if (step == current) {
      fill = QColor(0xE8, 0x77, 0x2E);
      text = Qt::white;
    } else {
      fill = Qt::white;
      text = QColor(0x70, 0x68, 0x80);
    }
    p.setPen(QPen(QColor(0x8E, 0x7B, 0xA6), 1));
    p.setBrush(fill);
    p.drawPolygon(shape);
    const qreal inset = i > 0 ? 8 : 2;
    Text(p, QRectF(x + inset, y + 2, cell - inset - 6, 17),
         QStringLiteral("%1").arg(step, 2, 10, QLatin1Char('0')), 14, text, true, Qt::AlignCenter);
    QString label = QString::fromUtf16(kLabels[i]);
    if (step == current && afterPractice) label = QStringLiteral("練習後");
    Text(p, QRectF(x + inset, y + 19, cell - inset - 6, 16), label, 10, text, step == current,
         Qt::AlignCenter);
  }
  return image;
}

QImage DrawExamTitleBand(int width, int height, QRgb dark, QRgb light) {
  QImage image = NewImage(width, height, QColor(dark));
  QPainter p(&image);
  QLinearGradient g(0, 0, 0, height);
  g.setColorAt(0, QColor(light));
  g.setColorAt(0.45, QColor(dark));
  g.setColorAt(1, QColor(dark).darker(125));
  p.fillRect(image.rect(), g);
  p.fillRect(QRect(0, height - 2, width, 2), QColor(light).lighter(130));
  return image;
}

QImage DrawTimeFrame(int width, int height) {
  QImage image = NewImage(width, height, QColor(0xF5, 0xEC, 0xFA));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF outer(1, 1, width - 2, height - 2);
  p.setPen(QPen(QColor(0x8E, 0x7B, 0xA6), 1.5));
  p.setBrush(Qt::white);
  p.drawRoundedRect(outer, 6, 6);
  QPainterPath left;
  left.addRoundedRect(QRectF(1, 1, 120, height - 2), 6, 6);
  p.fillPath(left, QColor(0xE4, 0xD8, 0xF0));
  p.drawLine(QPointF(121, 1), QPointF(121, height - 1));
  return image;
}

QImage DrawMakerLogo() {
  QImage image = NewImage(438, 34, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1D, 0x26, 0x85));
  p.drawEllipse(QRectF(4, 5, 24, 24));
  p.setBrush(QColor(0xE8, 0x77, 0x2E));
  p.drawEllipse(QRectF(12, 13, 8, 8));
  Text(p, QRectF(36, 0, 400, 34), QStringLiteral("Examora 受験システム"), 24,
       QColor(0x1D, 0x26, 0x85), true);
  return image;
}

QImage DrawExamName() {
  QImage image = NewImage(878, 40, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Text(p, QRectF(0, 0, 878, 40), QStringLiteral("コンピュータ技能検定"), 34,
       QColor(0x1D, 0x26, 0x85), true, Qt::AlignCenter);
  return image;
}

QImage DrawGradeInfo() {
  QImage image = NewImage(200, 40, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Text(p, QRectF(0, 0, 200, 40), QStringLiteral("２級"), 34, QColor(0xC8, 0x50, 0x10), true,
       Qt::AlignLeft | Qt::AlignVCenter);
  return image;
}

QImage DrawGradeTop() {
  QImage image = NewImage(200, 60, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, 60);
  g.setColorAt(0, QColor(0xF5, 0x9A, 0x4A));
  g.setColorAt(1, QColor(0xD0, 0x5A, 0x10));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(4, 4, 192, 52), 12, 12);
  Text(p, QRectF(4, 4, 192, 52), QStringLiteral("２級"), 40, Qt::white, true, Qt::AlignCenter);
  return image;
}

QImage DrawKnowledgeExplanation() {
  QImage image = NewImage(860, 520, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x33, 0x33, 0x33);
  Text(p, QRectF(20, 6, 820, 28), QStringLiteral("知識問題の画面と操作"), 20,
       QColor(0x3E, 0x27, 0x6E), true);

  // The exam window.
  const QRectF win(20, 40, 820, 330);
  p.setPen(QPen(QColor(0x88, 0x88, 0x88), 1));
  p.setBrush(QColor(0xF0, 0xF0, 0xF0));
  p.drawRect(win);
  QLinearGradient head(0, win.top(), 0, win.top() + 50);
  head.setColorAt(0, QColor(0x3A, 0x48, 0xB0));
  head.setColorAt(1, QColor(0x1D, 0x26, 0x85));
  p.fillRect(QRectF(win.left(), win.top(), win.width(), 50), head);
  Text(p, QRectF(28, 44, 400, 16), QStringLiteral("コンピュータ技能検定２級 サンプル問題"), 11,
       Qt::white, true);
  Text(p, QRectF(28, 62, 400, 16), QStringLiteral("知識　Aパターン"), 11, Qt::white, true);
  const char16_t* modes[] = {u"全問", u"問題別", u"設問別"};
  for (int i = 0; i < 3; ++i)
    Button(p, QRectF(250 + i * 54, 48, 50, 20), QString::fromUtf16(modes[i]),
           i == 1 ? QColor(255, 140, 144) : QColor(240, 240, 240),
           i == 1 ? QColor(255, 0, 0) : QColor(64, 64, 64));
  const char16_t* tools[] = {u"解答状況", u"注意事項", u"操作説明"};
  for (int i = 0; i < 3; ++i)
    Button(p, QRectF(420 + i * 64, 48, 60, 20), QString::fromUtf16(tools[i]),
           QColor(0x00, 0x94, 0xD7), QColor(0x00, 0x49, 0x88));
  Button(p, QRectF(620, 48, 64, 20), QStringLiteral("試験終了"), QColor(0xFF, 0x6A, 0x6A),
         QColor(0xC0, 0x00, 0x00));
  Text(p, QRectF(690, 44, 145, 28), QStringLiteral("12分 / 30分"), 15, Qt::white, true,
       Qt::AlignRight | Qt::AlignVCenter);

  // Question tree.
  const QRectF tree(win.left() + 4, win.top() + 56, 120, win.height() - 60);
  p.setPen(QPen(QColor(0xAA, 0xAA, 0xAA), 1));
  p.setBrush(Qt::white);
  p.drawRect(tree);
  const char16_t* nodes[] = {u"問題 1",     u"　問題 1-1", u"　問題 1-2",
                             u"問題 2",     u"　問題 2-1", u"　問題 2-2",
                             u"　問題 2-3", u"問題 3",     u"　問題 3-1"};
  for (int i = 0; i < 9; ++i) {
    if (i == 4)
      p.fillRect(QRectF(tree.left() + 2, tree.top() + 6 + i * 18, 112, 17),
                 QColor(0x33, 0x66, 0xCC));
    Text(p, QRectF(tree.left() + 6, tree.top() + 6 + i * 18, 110, 17), QString::fromUtf16(nodes[i]),
         12, i == 4 ? Qt::white : ink);
  }

  // Question page.
  const QRectF page(tree.right() + 6, tree.top(), 470, tree.height());
  p.setPen(QPen(QColor(0xAA, 0xAA, 0xAA), 1));
  p.setBrush(Qt::white);
  p.drawRect(page);
  Text(p, QRectF(page.left() + 12, page.top() + 8, 440, 20), QStringLiteral("問題2　ネットワーク"),
       15, QColor(0x1D, 0x26, 0x85), true);
  Text(p, QRectF(page.left() + 12, page.top() + 34, 440, 18),
       QStringLiteral("設問1　Webページの閲覧に使われるプロトコルはどれか。"), 12, ink);
  const char16_t* choices[] = {u"ア　FTP", u"イ　HTTP", u"ウ　SMTP", u"エ　POP3"};
  for (int i = 0; i < 4; ++i)
    Text(p, QRectF(page.left() + 28, page.top() + 58 + i * 18, 200, 18),
         QString::fromUtf16(choices[i]), 12, ink);
  Lines(p, QRectF(page.left() + 12, page.top() + 140, 440, 100), 7, QColor(0xDD, 0xDD, 0xDD));
  Button(p, QRectF(page.left() + 8, page.bottom() - 30, 30, 22), QStringLiteral("<"),
         QColor(0x00, 0x94, 0xD7), QColor(0x00, 0x49, 0x88), 13);
  Button(p, QRectF(page.left() + 42, page.bottom() - 30, 30, 22), QStringLiteral(">"),
         QColor(0x00, 0x94, 0xD7), QColor(0x00, 0x49, 0x88), 13);

  // Answer sheet.
  const QRectF sheet(page.right() + 6, tree.top(), win.right() - page.right() - 10, tree.height());
  p.setPen(QPen(QColor(0xAA, 0xAA, 0xAA), 1));
  p.setBrush(Qt::white);
  p.drawRect(sheet);
  p.fillRect(QRectF(sheet.left() + 1, sheet.top() + 1, sheet.width() - 2, 22),
             QColor(0xA0, 0xA0, 0xA0));
  const char16_t* letters[] = {u"ア", u"イ", u"ウ", u"エ", u"オ"};
  for (int c = 0; c < 5; ++c)
    Text(p, QRectF(sheet.left() + 70 + c * 24, sheet.top() + 2, 20, 20),
         QString::fromUtf16(letters[c]), 12, Qt::white, true, Qt::AlignCenter);
  const char16_t* rows[] = {u"問題 2", u"2-1", u"2-2", u"2-3"};
  const int choiceCounts[] = {0, 4, 5, 4};
  const int chosen[] = {0, 2, 1, 0};
  for (int r = 0; r < 4; ++r) {
    const qreal y = sheet.top() + 30 + r * 32;
    Text(p, QRectF(sheet.left() + 8, y, 60, 24), QString::fromUtf16(rows[r]), 12,
         r == 0 ? QColor(0x1D, 0x26, 0x85) : QColor(0x00, 0x00, 0xCC), r == 0);
    for (int c = 0; c < choiceCounts[r]; ++c) {
      const QPointF centre(sheet.left() + 80 + c * 24, y + 12);
      p.setPen(QPen(QColor(0x66, 0x66, 0x66), 1));
      p.setBrush(Qt::white);
      p.drawEllipse(centre, 7, 7);
      if (chosen[r] == c + 1) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x22, 0x22, 0x22));
        p.drawEllipse(centre, 3.5, 3.5);
      }
    }
  }

  Callout(p, QPointF(300, 84), 1);
  Callout(p, QPointF(tree.right() - 16, tree.top() + 150), 2);
  Callout(p, QPointF(page.left() + 100, page.bottom() - 18), 3);
  Callout(p, QPointF(sheet.left() + 30, sheet.top() + 180), 4);
  Callout(p, QPointF(652, 84), 5);

  const char16_t* notes[] = {u"① 問題の表示方法（全問・問題別・設問別）を切り替えます。",
                             u"② 問題番号をクリックすると、その問題が表示されます。",
                             u"③ 「<」「>」ボタンで前後の問題に移動します。",
                             u"④ 解答欄の○をクリックして解答します。解答はすぐに保存されます。",
                             u"⑤ すべての解答が終わったら［試験終了］ボタンをクリックします。"};
  for (int i = 0; i < 5; ++i)
    Text(p, QRectF(30, 384 + i * 26, 800, 24), QString::fromUtf16(notes[i]), 15, ink);
  return image;
}

QImage DrawPracticalExplanation() {
  QImage image = NewImage(860, 520, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x33, 0x33, 0x33);
  Text(p, QRectF(20, 6, 820, 28), QStringLiteral("実技問題の画面と操作"), 20,
       QColor(0x3E, 0x27, 0x6E), true);

  // The candidate's desktop.
  const QRectF desk(20, 40, 820, 330);
  p.fillRect(desk, QColor(0x3C, 0x6E, 0x9E));
  // Editor and browser windows.
  const QRectF editor(40, 120, 380, 230);
  const QRectF browser(440, 120, 380, 230);
  for (const QRectF& w : {editor, browser}) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(Qt::white);
    p.drawRect(w);
    p.fillRect(QRectF(w.left(), w.top(), w.width(), 22), QColor(0xDD, 0xDD, 0xE6));
  }
  Text(p, QRectF(editor.left() + 8, editor.top() + 2, 360, 18),
       QStringLiteral("index.html - テキストエディター"), 11, ink);
  Text(p, QRectF(browser.left() + 8, browser.top() + 2, 360, 18),
       QStringLiteral("喫茶こもれび - Webブラウザー"), 11, ink);
  p.setFont(JapaneseFont(11));
  p.setPen(QColor(0x20, 0x50, 0x90));
  const char* code[] = {"<!DOCTYPE html>",
                        "<html lang=\"ja\">",
                        "<head>",
                        "  <meta charset=\"UTF-8\">",
                        "  <link rel=\"stylesheet\" ...>",
                        "</head>",
                        "<body>",
                        "  <header>",
                        "  ..."};
  for (int i = 0; i < 9; ++i)
    p.drawText(QPointF(editor.left() + 10, editor.top() + 40 + i * 20),
               QString::fromLatin1(code[i]));
  p.fillRect(QRectF(browser.left() + 1, browser.top() + 23, browser.width() - 2, 40),
             QColor(0x5A, 0x3E, 0x2B));
  Text(p, QRectF(browser.left() + 12, browser.top() + 23, 300, 40), QStringLiteral("喫茶こもれび"),
       16, Qt::white, true);
  Lines(p, QRectF(browser.left() + 12, browser.top() + 80, 350, 140), 8, QColor(0xDD, 0xDD, 0xDD),
        17);

  // The compact exam window at the top left.
  const QRectF bar(24, 48, 433, 61);
  p.setPen(QPen(QColor(0xFC, 0xF6, 0xF4), 2));
  p.setBrush(QColor(29, 38, 133));
  p.drawRect(bar);
  Text(p, QRectF(bar.left() + 6, bar.top() + 3, 250, 15),
       QStringLiteral("コンピュータ技能検定２級 サンプル問題"), 11, Qt::white, true);
  Text(p, QRectF(bar.left() + 6, bar.top() + 18, 250, 15), QStringLiteral("実技　Aパターン"), 11,
       Qt::white, true);
  Text(p, QRectF(bar.left() + 6, bar.top() + 33, 250, 15),
       QStringLiteral("作成したファイルは「実技用」フォルダー内に保存"), 10, Qt::white, true);
  Text(p, QRectF(bar.left() + 250, bar.top() + 2, 100, 26), QStringLiteral("経過時間  5 分"), 14,
       Qt::white, true, Qt::AlignRight | Qt::AlignVCenter);
  Button(p, QRectF(bar.left() + 262, bar.top() + 33, 52, 22), QStringLiteral("注意事項"),
         QColor(0x00, 0x94, 0xD7), QColor(0x00, 0x49, 0x88), 10);
  Button(p, QRectF(bar.left() + 318, bar.top() + 33, 52, 22), QStringLiteral("最小化"),
         QColor(0x00, 0x94, 0xD7), QColor(0x00, 0x49, 0x88), 10);
  Button(p, QRectF(bar.left() + 374, bar.top() + 33, 54, 22), QStringLiteral("試験終了"),
         QColor(0xFF, 0x6A, 0x6A), QColor(0xC0, 0x00, 0x00), 10);

  Callout(p, QPointF(bar.left() + 240, bar.top() + 14), 1);
  Callout(p, QPointF(bar.left() + 288, bar.bottom() + 14), 2);
  Callout(p, QPointF(bar.left() + 401, bar.bottom() + 14), 3);
  Callout(p, QPointF(editor.left() + 360, editor.top() + 40), 4);

  const char16_t* notes[] = {
      u"① 試験開始からの経過時間が表示されます。",
      u"② 注意事項をもう一度確認できます。［最小化］で画面を一時的に隠せます。",
      u"③ 作業が終わったら、すべてのファイルを保存して閉じ、［試験終了］をクリックします。",
      u"④ 「実技用」フォルダー内のファイルを編集して、Webページを完成させます。",
      u"　 仕上り見本のとおりになるように作成してください。"};
  for (int i = 0; i < 5; ++i)
    Text(p, QRectF(30, 384 + i * 26, 800, 24), QString::fromUtf16(notes[i]), 15, ink);
  return image;
}

QImage DrawFinishedSamplePage(int page) {
  const int width = 800;
  const int height = 1000;
  QImage image = NewImage(width, height, QColor(0xFA, 0xF6, 0xEF));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor brown(0x5A, 0x3E, 0x2B);
  const QColor ink(0x3A, 0x32, 0x2C);

  // Header and navigation, the same on every page.
  p.fillRect(QRect(0, 0, width, 110), brown);
  p.drawImage(QPointF(30, 25), DrawSiteLogo());
  const char16_t* menu[] = {u"ホーム", u"メニュー", u"アクセス"};
  for (int i = 0; i < 3; ++i) {
    const QRectF r(430 + i * 120, 40, 110, 34);
    if (i + 1 == page) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xE8, 0xB0, 0x6A));
      p.drawRoundedRect(r, 6, 6);
    }
    Text(p, r, QString::fromUtf16(menu[i]), 17, Qt::white, true, Qt::AlignCenter);
  }

  if (page == 1) {
    p.drawImage(QRectF(0, 110, width, 360), DrawMaterialPhoto(QStringLiteral("shop")));
    p.fillRect(QRectF(0, 380, width, 90), QColor(0, 0, 0, 110));
    Text(p, QRectF(40, 380, 720, 90), QStringLiteral("木漏れ日の差す、小さな喫茶店"), 32, Qt::white,
         true);
    Text(p, QRectF(40, 500, 720, 36), QStringLiteral("ようこそ"), 24, brown, true);
    p.fillRect(QRectF(40, 538, 80, 3), QColor(0xE8, 0xB0, 0x6A));
    const char16_t* body[] = {
        u"喫茶こもれびは、駅から歩いて５分の住宅街にある小さな喫茶店です。",
        u"自家焙煎のコーヒーと、手作りのケーキをご用意しております。",
        u"窓から差し込む木漏れ日の中で、ゆっくりとした時間をお過ごしください。"};
    for (int i = 0; i < 3; ++i)
      Text(p, QRectF(40, 556 + i * 30, 720, 28), QString::fromUtf16(body[i]), 17, ink);
    Text(p, QRectF(40, 680, 720, 36), QStringLiteral("お知らせ"), 24, brown, true);
    p.fillRect(QRectF(40, 718, 80, 3), QColor(0xE8, 0xB0, 0x6A));
    const char16_t* news[] = {u"4月1日　春限定「桜のシフォンケーキ」を始めました。",
                              u"3月15日　ホームページを開設しました。"};
    for (int i = 0; i < 2; ++i)
      Text(p, QRectF(40, 736 + i * 30, 720, 28), QString::fromUtf16(news[i]), 17, ink);
  } else if (page == 2) {
    Text(p, QRectF(40, 140, 720, 40), QStringLiteral("メニュー"), 28, brown, true);
    p.fillRect(QRectF(40, 182, 80, 3), QColor(0xE8, 0xB0, 0x6A));
    p.drawImage(QRectF(40, 210, 300, 200), DrawMaterialPhoto(QStringLiteral("coffee")));
    Text(
        p, QRectF(370, 210, 390, 200),
        QStringLiteral(
            "当店のコーヒーは、毎朝店内で焙煎した豆を\n一杯ずつハンドドリップでお淹れしています。"),
        16, ink, false, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    const char16_t* items[][2] = {{u"ブレンドコーヒー", u"450円"},
                                  {u"カフェオレ", u"500円"},
                                  {u"紅茶（ダージリン）", u"480円"},
                                  {u"チーズケーキ", u"420円"},
                                  {u"桜のシフォンケーキ（春限定）", u"450円"},
                                  {u"ケーキセット", u"800円"}};
    const qreal top = 450;
    p.fillRect(QRectF(40, top, 720, 40), brown);
    Text(p, QRectF(56, top, 400, 40), QStringLiteral("品名"), 17, Qt::white, true);
    Text(p, QRectF(560, top, 184, 40), QStringLiteral("価格（税込）"), 17, Qt::white, true,
         Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 6; ++i) {
      const QRectF row(40, top + 40 + i * 44, 720, 44);
      p.fillRect(row, i % 2 ? QColor(0xF2, 0xE8, 0xDA) : Qt::white);
      Text(p, QRectF(56, row.top(), 480, 44), QString::fromUtf16(items[i][0]), 17, ink);
      Text(p, QRectF(560, row.top(), 184, 44), QString::fromUtf16(items[i][1]), 17, ink, false,
           Qt::AlignRight | Qt::AlignVCenter);
    }
  } else {
    Text(p, QRectF(40, 140, 720, 40), QStringLiteral("アクセス"), 28, brown, true);
    p.fillRect(QRectF(40, 182, 80, 3), QColor(0xE8, 0xB0, 0x6A));
    // A simple map.
    const QRectF map(40, 210, 720, 380);
    p.fillRect(map, QColor(0xE8, 0xEE, 0xE0));
    p.setPen(QPen(Qt::white, 18));
    p.drawLine(QPointF(map.left(), map.top() + 250), QPointF(map.right(), map.top() + 250));
    p.drawLine(QPointF(map.left() + 300, map.top()), QPointF(map.left() + 300, map.bottom()));
    p.setPen(QPen(QColor(0x88, 0x88, 0x88), 6, Qt::DashLine));
    p.drawLine(QPointF(map.left(), map.top() + 60), QPointF(map.right(), map.top() + 60));
    Text(p, QRectF(map.left() + 20, map.top() + 70, 200, 24), QStringLiteral("みどり線"), 15, ink);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x99, 0x99, 0xAA));
    p.drawRect(QRectF(map.left() + 80, map.top() + 40, 120, 40));
    Text(p, QRectF(map.left() + 80, map.top() + 40, 120, 40), QStringLiteral("こもれび駅"), 15,
         Qt::white, true, Qt::AlignCenter);
    p.setBrush(QColor(0xD0, 0x40, 0x30));
    p.drawEllipse(QPointF(map.left() + 420, map.top() + 200), 16, 16);
    Text(p, QRectF(map.left() + 440, map.top() + 180, 220, 40), QStringLiteral("喫茶こもれび"), 17,
         QColor(0xD0, 0x40, 0x30), true);
    const char16_t* info[][2] = {{u"住所", u"〒123-4567　東京都みどり市こもれび町1-2-3"},
                                 {u"電話", u"03-1234-5678"},
                                 {u"営業時間", u"9:00～18:00（ラストオーダー17:30）"},
                                 {u"定休日", u"毎週水曜日"}};
    for (int i = 0; i < 4; ++i) {
      const qreal y = 620 + i * 44;
      p.fillRect(QRectF(40, y, 150, 40), QColor(0xF2, 0xE8, 0xDA));
      Text(p, QRectF(56, y, 130, 40), QString::fromUtf16(info[i][0]), 17, brown, true);
      Text(p, QRectF(210, y, 550, 40), QString::fromUtf16(info[i][1]), 17, ink);
    }
  }

  p.fillRect(QRect(0, height - 60, width, 60), brown);
  Text(p, QRectF(0, height - 60, width, 60), QStringLiteral("© 2024 喫茶こもれび"), 14, Qt::white,
       false, Qt::AlignCenter);
  return image;
}

QImage DrawMaterialPhoto(const QString& kind) {
  const int width = 640;
  const int height = 400;
  QImage image = NewImage(width, height, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (kind == u"coffee") {
    QRadialGradient table(width / 2.0, height / 2.0, width * 0.7);
    table.setColorAt(0, QColor(0xB0, 0x80, 0x58));
    table.setColorAt(1, QColor(0x6A, 0x44, 0x2A));
    p.fillRect(image.rect(), table);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF0, 0xEA));
    p.drawEllipse(QPointF(320, 220), 170, 120);  // saucer
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(320, 200), 110, 80);  // cup
    p.setBrush(QColor(0x4A, 0x2C, 0x1A));
    p.drawEllipse(QPointF(320, 195), 90, 62);  // coffee
    p.setBrush(QColor(0xC8, 0x9A, 0x6A));
    p.drawEllipse(QPointF(300, 185), 26, 12);  // crema
    p.setPen(QPen(Qt::white, 16, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(410, 170, 70, 60), -70 * 16, 140 * 16);  // handle
  } else {
    // The shop: a window with light falling through leaves onto a wooden floor.
    QLinearGradient wall(0, 0, 0, height);
    wall.setColorAt(0, QColor(0xF1, 0xE4, 0xCC));
    wall.setColorAt(1, QColor(0xD9, 0xC2, 0x9A));
    p.fillRect(image.rect(), wall);
    p.fillRect(QRect(0, 290, width, 110), QColor(0x8B, 0x5A, 0x34));
    for (int x = 0; x < width; x += 80) p.fillRect(QRect(x, 290, 2, 110), QColor(0x6E, 0x45, 0x28));
    const QRectF window(120, 40, 400, 200);
    QLinearGradient sky(window.topLeft(), window.bottomLeft());
    sky.setColorAt(0, QColor(0xBF, 0xE3, 0xF5));
    sky.setColorAt(1, QColor(0xE9, 0xF6, 0xE0));
    p.fillRect(window, sky);
    p.setPen(Qt::NoPen);
    const QColor leaves[] = {QColor(0x4E, 0x8B, 0x3A, 200), QColor(0x7B, 0xB0, 0x4A, 200),
                             QColor(0x3A, 0x6E, 0x2E, 200)};
    for (int i = 0; i < 24; ++i) {
      p.setBrush(leaves[i % 3]);
      p.drawEllipse(QPointF(140 + (i * 53) % 380, 60 + (i * 37) % 110), 26, 18);
    }
    p.setPen(QPen(QColor(0x6E, 0x45, 0x28), 10));
    p.setBrush(Qt::NoBrush);
    p.drawRect(window);
    p.drawLine(QPointF(320, 40), QPointF(320, 240));
    // Table and two chairs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x3E, 0x2B));
    p.drawRect(QRectF(230, 250, 180, 14));
    p.drawRect(QRectF(310, 264, 20, 60));
    p.drawRect(QRectF(170, 230, 14, 100));
    p.drawRect(QRectF(456, 230, 14, 100));
    p.setBrush(QColor(255, 255, 230, 60));
    for (int i = 0; i < 6; ++i) p.drawEllipse(QPointF(200 + i * 50, 320 + (i % 2) * 20), 20, 8);
  }
  return image;
}

QImage DrawSiteLogo() {
  QImage image(240, 60, QImage::Format_RGB32);
  image.fill(QColor(0x5A, 0x3E, 0x2B));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x7B, 0xB0, 0x4A));
  p.drawEllipse(QPointF(30, 30), 22, 22);
  p.setBrush(QColor(0xE8, 0xB0, 0x6A));
  p.drawEllipse(QPointF(36, 24), 8, 8);
  Text(p, QRectF(62, 0, 178, 60), QStringLiteral("喫茶こもれび"), 26, Qt::white, true);
  return image;
}

}  // namespace examora::sample
