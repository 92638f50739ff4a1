#include "SampleInstallation.h"

#include <QDir>
#include <QFileInfo>

#include "SamplePictures.h"

namespace examora::sample {
namespace {

const char16_t* const kChoiceLetters[] = {u"ア", u"イ", u"ウ", u"エ", u"オ"};

QString Letter(int index) {
  return QString::fromUtf16(kChoiceLetters[index]);
}

QString Esc(const QString& text) {
  return text.toHtmlEscaped();
}

QChar FullWidthDigit(qsizetype digit) {
  return QChar(static_cast<char16_t>(u'０' + digit));
}

// Shared look of the question pages: a plain, readable paper.
const QString& PaperCss() {
  static const QString css = QStringLiteral(
      "body { font-family: \"ＭＳ Ｐゴシック\", \"IPAPGothic\", sans-serif; font-size: 16px;"
      " line-height: 1.7; color: #222; margin: 16px 24px; }\n"
      "h1 { font-size: 20px; border-bottom: 3px double #1d2685; color: #1d2685; }\n"
      "h2 { font-size: 18px; background: #e8e4f4; border-left: 6px solid #1d2685;"
      " padding: 2px 8px; margin-top: 28px; }\n"
      "h3 { font-size: 16px; margin: 18px 0 4px; }\n"
      ".lead { margin: 8px 0 12px; }\n"
      ".setsumon { margin: 0 0 20px 12px; }\n"
      ".choices { list-style: none; margin: 4px 0 0 16px; padding: 0; }\n"
      ".choices li { margin: 2px 0; }\n"
      ".midashi { border: 1px solid #8e7ba6; background: #f5ecfa; padding: 8px 16px;"
      " margin-bottom: 20px; }\n");
  return css;
}

const QString& NotesCss() {
  static const QString css = QStringLiteral(
      "body { font-family: \"ＭＳ Ｐゴシック\", \"IPAPGothic\", sans-serif; font-size: 16px;"
      " line-height: 1.8; color: #222; margin: 20px 32px; }\n"
      "h1 { font-size: 22px; color: #3e276e; border-bottom: 2px solid #8e7ba6;"
      " padding-bottom: 4px; }\n"
      "h2 { font-size: 18px; color: #3e276e; margin-top: 20px; }\n"
      "ol, ul { margin: 4px 0 4px 8px; }\n"
      "li { margin: 4px 0; }\n"
      ".box { border: 2px solid #e8772e; background: #fff6ee; padding: 8px 16px;"
      " margin-top: 16px; }\n"
      ".folder { font-weight: bold; color: #c0392b; }\n"
      ".page { text-align: right; color: #777; font-size: 14px; }\n"
      "pre { background: #f4f4f4; border: 1px solid #ccc; padding: 8px 12px; }\n");
  return css;
}

QString SubQuestionMarkup(int q, int s, const SubQuestion& sub, bool anchor) {
  QString html;
  html += QStringLiteral("<div class=\"setsumon\">\n");
  if (anchor) html += QStringLiteral("<a id=\"t%1s%2\" name=\"t%1s%2\"></a>\n").arg(q).arg(s);
  html += QStringLiteral("<h3>設問%1</h3>\n<p>").arg(s) + Esc(sub.text) +
          QStringLiteral("</p>\n<ul class=\"choices\">\n");
  for (int c = 0; c < sub.choices.size(); ++c)
    html += QStringLiteral("<li>") + Letter(c) + QStringLiteral("　") + Esc(sub.choices[c]) +
            QStringLiteral("</li>\n");
  html += QStringLiteral("</ul>\n</div>\n");
  return html;
}

QString QuestionHeader(int q, const Question& question, bool anchor) {
  QString html;
  if (anchor) html += QStringLiteral("<a id=\"t%1\" name=\"t%1\"></a>\n").arg(q);
  html += QStringLiteral("<h2>問題%1　").arg(q) + Esc(question.title) + QStringLiteral("</h2>\n");
  if (!question.lead.isEmpty())
    html += QStringLiteral("<p class=\"lead\">") + Esc(question.lead) + QStringLiteral("</p>\n");
  return html;
}

QString QuestionMarkup(int q, const Question& question) {
  QString html = QuestionHeader(q, question, true);
  for (int s = 0; s < question.subQuestions.size(); ++s)
    html += SubQuestionMarkup(q, s + 1, question.subQuestions[s], true);
  return html;
}

QString HeadingMarkup(const Heading& heading) {
  QString html = QStringLiteral("<div class=\"midashi\">\n<h2>") + Esc(heading.title) +
                 QStringLiteral("</h2>\n");
  for (const QString& p : heading.paragraphs)
    html += QStringLiteral("<p>") + Esc(p) + QStringLiteral("</p>\n");
  return html + QStringLiteral("</div>\n");
}

}  // namespace

// ---- Content writers -------------------------------------------------------------------------

void WriteQuestionPages(InstallationWriter& writer, const QString& contentFolder,
                        const QString& paperTitle, const QList<Heading>& headings,
                        const QList<Question>& questions) {
  const QString q = contentFolder + QStringLiteral("/html/q/");
  const QString h1 = QStringLiteral("<h1>") + Esc(paperTitle) + QStringLiteral("</h1>\n");

  QString headingsMarkup;
  for (const Heading& heading : headings) headingsMarkup += HeadingMarkup(heading);

  QString all = QStringLiteral("<a id=\"midashi1\" name=\"midashi1\"></a>\n") + h1 + headingsMarkup;
  for (int i = 0; i < questions.size(); ++i) all += QuestionMarkup(i + 1, questions[i]);
  writer.writeHtmlPage(q + QStringLiteral("all/index.html"), paperTitle, PaperCss(), all);

  for (int i = 0; i < questions.size(); ++i) {
    const int number = i + 1;
    const Question& question = questions[i];
    writer.writeHtmlPage(q + QStringLiteral("mondai/%1/index.html").arg(number), paperTitle,
                         PaperCss(), h1 + QuestionMarkup(number, question));
    for (int s = 0; s < question.subQuestions.size(); ++s) {
      writer.writeHtmlPage(q + QStringLiteral("setsumon/%1-%2/index.html").arg(number).arg(s + 1),
                           paperTitle, PaperCss(),
                           h1 + QuestionHeader(number, question, false) +
                               SubQuestionMarkup(number, s + 1, question.subQuestions[s], false));
    }
  }

  if (!headings.isEmpty()) {
    writer.writeHtmlPage(q + QStringLiteral("midashi/all/index.html"), paperTitle, PaperCss(),
                         h1 + headingsMarkup);
    for (int n = 0; n < headings.size(); ++n)
      writer.writeHtmlPage(q + QStringLiteral("midashi/%1/index.html").arg(n + 1), paperTitle,
                           PaperCss(), h1 + HeadingMarkup(headings[n]));
  }
}

QString ChoiceCountSection(const QList<Question>& questions) {
  QString text = QStringLiteral("[選択数]\n");
  for (int q = 0; q < questions.size(); ++q)
    for (int s = 0; s < questions[q].subQuestions.size(); ++s)
      text += QStringLiteral("%1-%2=%3\n")
                  .arg(q + 1)
                  .arg(s + 1)
                  .arg(questions[q].subQuestions[s].choices.size());
  return text;
}

QString AnswerKeyText(const QList<Question>& questions) {
  QString text;
  for (int q = 0; q < questions.size(); ++q) {
    for (int s = 0; s < questions[q].subQuestions.size(); ++s) {
      const SubQuestion& sub = questions[q].subQuestions[s];
      QString key = QStringLiteral("00000");
      if (sub.correct == 0)
        key = QStringLiteral("11111");
      else if (sub.correct >= 1 && sub.correct <= 5)
        key[sub.correct - 1] = QLatin1Char('1');
      if (!text.isEmpty()) text += QLatin1Char('\n');
      text += QStringLiteral("[%1_%2]\n正答=%3\n配点=%4\n")
                  .arg(q + 1)
                  .arg(s + 1)
                  .arg(key)
                  .arg(sub.points);
    }
  }
  return text;
}

void WriteNotesPages(InstallationWriter& writer, const QString& partFolder, const QString& title,
                     const QStringList& bodies) {
  for (int n = 0; n < bodies.size(); ++n) {
    const QString page = bodies[n] + QStringLiteral("<p class=\"page\">（%1／%2）</p>\n")
                                         .arg(FullWidthDigit((n + 1) % 10))
                                         .arg(FullWidthDigit(bodies.size() % 10));
    writer.writeHtmlPage(partFolder + QStringLiteral("/html/c/index%1.html").arg(n + 1), title,
                         NotesCss(), page);
  }
}

QString SampleMarkerFileName() {
  return QStringLiteral(".examora-sample");
}

bool PrepareSampleFolder(const QString& folder, QString* error) {
  auto refuse = [error](const QString& message) {
    if (error) *error = message;
    return false;
  };
  const QFileInfo info(folder);
  if (info.exists() && !info.isDir()) return refuse(folder + QStringLiteral(" is not a folder"));
  QDir dir(folder);
  if (!dir.exists() ||
      dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
    return true;
  if (!QFileInfo(dir.filePath(SampleMarkerFileName())).isFile())
    return refuse(folder + QStringLiteral(" is not empty and holds no sample installation; "
                                          "refusing to replace it"));
  if (!dir.removeRecursively())
    return refuse(QStringLiteral("cannot remove the previous sample in ") + folder);
  return true;
}

// ---- The sample ------------------------------------------------------------------------------

namespace {

SubQuestion Sub(const char16_t* text, std::initializer_list<const char16_t*> choices, int correct,
                int points) {
  SubQuestion sub;
  sub.text = QString::fromUtf16(text);
  for (const char16_t* c : choices) sub.choices << QString::fromUtf16(c);
  sub.correct = correct;
  sub.points = points;
  return sub;
}

QList<Question> PracticeQuestions() {
  // The practice sheet takes its choice counts from part 1's [選択数], so its two
  // sub-questions have as many choices as sub-questions 1-1 and 1-2 of the real paper.
  Question q;
  q.title = QStringLiteral("操作練習");
  q.lead = QStringLiteral(
      "これは操作練習用の問題です。本試験の問題ではありません。解答欄の○をクリックして、"
      "解答のしかたを確認してください。");
  q.subQuestions << Sub(u"1キロバイトを1024バイトとするとき、2キロバイトは何バイトか。",
                        {u"1000バイト", u"1024バイト", u"2000バイト", u"2048バイト"}, 4, 10)
                 << Sub(u"次のうち、入力装置はどれか。",
                        {u"プリンター", u"スキャナー", u"ディスプレイ", u"スピーカー",
                         u"プロジェクター"},
                        2, 10);
  return {q};
}

QString SystemIni() {
  return QStringLiteral(
      "[基本情報]\n"
      "試験名=コンピュータ技能検定\n"
      "級名=２級\n"
      "委員会名=コンピュータ技能検定委員会\n"
      "冊子名称=コンピュータ技能検定２級 サンプル問題\n"
      "パターン=A\n"
      "パターン名=\n"
      "バージョン=HTML5\n"
      "バージョン名=HTML5・CSS3\n"
      "サンプル問題=1\n"
      "部数=4\n"
      "級コード=C2\n"
      "開発コード=S2024A\n"
      "表示タイプ=4\n"
      "タイムコントロール=1\n"
      "上下ボタン=1\n"
      "メーカー画像拡張子=.png\n"
      "試験画像拡張子=.gif\n"
      "級個人情報画像拡張子=.bmp\n"
      "級TOP画像拡張子=.png\n"
      "APP=\n"
      "APPVERチェック文字=\n"
      "APP検索名=\n"
      "\n"
      "[年度]\n"
      "1868=明治\n"
      "1912=大正\n"
      "1926=昭和\n"
      "1989=平成\n"
      "2019=令和\n"
      "\n"
      "[生年月日]\n"
      "開始=1930\n"
      "終了=2020\n");
}

QString ShikenIni() {
  return QStringLiteral(
      "[受験者情報]\n"
      "会場コード=\n"
      "受験番号=\n"
      "姓=\n"
      "名=\n"
      "年=\n"
      "月=\n"
      "日=\n"
      "性別=\n"
      "連携=\n"
      "\n"
      "[試験情報]\n"
      "試験日=\n"
      "試験時間=\n");
}

QString KnowledgeSetupIni(int minutes, const QList<Question>& choiceSource) {
  return QStringLiteral(
             "[基本情報]\n"
             "試験区分=1\n"
             "受験タイプ=1\n"
             "部種名称=知識\n"
             "試験時間テキスト=\n"
             "全体=1\n"
             "問題別=1\n"
             "設問別=1\n"
             "設問表示のみ=0\n"
             "見本ボタン名=\n"
             "注意事項表示=0\n"
             "補足説明=\n"
             "強制終了=0\n"
             "試験開始=0\n"
             "正常終了=\n"
             "延長終了=\n"
             "\n"
             "[試験時間]\n"
             "all=%1\n"
             "add=0\n"
             "now=0\n"
             "\n"
             "[画面情報]\n"
             "位置=4\n"
             "左=0\n"
             "上=0\n"
             "幅=0\n"
             "高さ=0\n"
             "\n")
             .arg(minutes) +
         ChoiceCountSection(choiceSource);
}

QString PracticalSetupIni() {
  return QStringLiteral(
      "[基本情報]\n"
      "試験区分=2\n"
      "受験タイプ=2\n"
      "部種名称=実技\n"
      "試験時間テキスト=40分,\"（問題冊子の確認時間を含みます）\"\n"
      "全体=0\n"
      "問題別=0\n"
      "設問別=0\n"
      "設問表示のみ=0\n"
      "見本ボタン名=仕上り見本\n"
      "注意事項表示=1\n"
      "補足説明=作成したファイルは「実技用」フォルダー内に保存してください。\n"
      "強制終了=0\n"
      "試験開始=0\n"
      "正常終了=\n"
      "延長終了=\n"
      "\n"
      "[試験時間]\n"
      "all=40\n"
      "add=0\n"
      "now=0\n"
      "\n"
      "[画面情報]\n"
      "位置=4\n"
      "左=0\n"
      "上=0\n"
      "幅=0\n"
      "高さ=0\n");
}

// A practical part whose tasks are shown in the exam window beside the editor.
QString PracticalQuestionSetupIni() {
  return QStringLiteral(
      "[基本情報]\n"
      "試験区分=2\n"
      "受験タイプ=1\n"
      "部種名称=実技問題\n"
      "試験時間テキスト=40分\n"
      "全体=1\n"
      "問題別=1\n"
      "設問別=1\n"
      "設問表示のみ=0\n"
      "見本ボタン名=仕上り見本\n"
      "注意事項表示=1\n"
      "補足説明=作成したファイルは「実技用」フォルダー内に保存してください。\n"
      "強制終了=0\n"
      "試験開始=0\n"
      "正常終了=\n"
      "延長終了=\n"
      "\n"
      "[試験時間]\n"
      "all=40\n"
      "add=0\n"
      "now=0\n"
      "\n"
      "[画面情報]\n"
      "位置=4\n"
      "左=0\n"
      "上=0\n"
      "幅=0\n"
      "高さ=0\n");
}

QList<Question> PracticalTasks() {
  const auto task = [](const char16_t* text) {
    SubQuestion sub;
    sub.text = QString::fromUtf16(text);
    return sub;
  };
  Question q1;
  q1.title = QStringLiteral("ページの構成");
  q1.lead = QStringLiteral(
      "「実技用」フォルダー内の site\\index.html を編集し、仕上り見本のとおりにホームページを"
      "完成させなさい。原稿は material\\原稿.txt にあります。");
  q1.subQuestions << task(
                         u"header 要素の中に nav 要素を作成し、「ホーム」「メニュー」"
                         u"「アクセス」の3つのリンクを箇条書きで入れなさい。")
                  << task(
                         u"main 要素の中に見出し「ようこそ」と原稿の文章を入れ、その上に"
                         u"写真 photo_shop.jpg を images フォルダーにコピーして表示しなさい。");
  Question q2;
  q2.title = QStringLiteral("スタイルの設定");
  q2.lead = QStringLiteral("css\\style.css に次の書式を追加しなさい。");
  q2.subQuestions << task(u"ナビゲーションのリンクを横に並べ、下線を消しなさい。")
                  << task(
                         u"現在のページのリンク（class=\"current\"）の背景色を #c8a27a に"
                         u"しなさい。")
                  << task(u"フッターの文字を中央揃えにしなさい。");
  return {q1, q2};
}

QList<Heading> KnowledgeHeadings() {
  return {
      {QStringLiteral("知識問題について"),
       {QStringLiteral("知識問題は、問題1から問題3までの全3問（設問数9）です。"),
        QStringLiteral("各設問について、選択肢ア～エ（設問によってはア～オ）の中から正しいものを"
                       "一つ選び、画面右側の解答欄の○をクリックしてください。")}},
      {QStringLiteral("解答上の注意"),
       {QStringLiteral("解答は○をクリックした時点で保存されます。解答を変更するときは、"
                       "別の○をクリックしてください。"),
        QStringLiteral("試験時間は30分です。画面上部の経過時間に注意して解答してください。"),
        QStringLiteral("すべての解答が終わったら、［試験終了］ボタンをクリックしてください。")}},
  };
}

QStringList KnowledgeNotes() {
  const QString folder = QStringLiteral(
      "<span id=\"FOLDER\" name=\"FOLDER\" class=\"folder\">受験用フォルダー</span>");
  return {
      QStringLiteral("<h1>知識問題　注意事項</h1>\n"
                     "<h2>試験全般について</h2>\n<ol>\n"
                     "<li>試験官の指示があるまで、試験を開始しないでください。</li>\n"
                     "<li>試験中は、受験プログラム以外のソフトウェアを起動しないでください。</li>\n"
                     "<li>パソコンの操作に不具合が生じた場合は、手を挙げて試験官に知らせて"
                     "ください。</li>\n"
                     "<li>不正行為があった場合は、試験を中止し、失格とします。</li>\n</ol>\n"
                     "<div class=\"box\">このパソコンの受験用フォルダーは「") +
          folder + QStringLiteral("」です。</div>\n"),
      QStringLiteral("<h1>知識問題　注意事項</h1>\n"
                     "<h2>解答方法について</h2>\n<ol>\n"
                     "<li>問題は画面左側に表示されます。［全問］［問題別］［設問別］ボタンで"
                     "表示方法を切り替えられます。</li>\n"
                     "<li>解答は、画面右側の解答欄で選択肢の○をクリックして行います。</li>\n"
                     "<li>解答はクリックした時点で自動的に保存されます。</li>\n"
                     "<li>文字の大きさは［＋］［－］［標準］ボタンで変更できます。</li>\n"
                     "</ol>\n<div class=\"box\">解答は「") +
          folder +
          QStringLiteral("」フォルダー内の受験プログラムが保存します。"
                         "フォルダー内のファイルは操作しないでください。</div>\n"),
      QStringLiteral("<h1>知識問題　注意事項</h1>\n"
                     "<h2>試験の終了について</h2>\n<ol>\n"
                     "<li>すべての解答が終わったら、［解答状況］ボタンで未解答の設問がないか"
                     "確認してください。</li>\n"
                     "<li>［試験終了］ボタンをクリックすると、解答状況の確認画面が表示されます。"
                     "</li>\n"
                     "<li>試験時間が終了すると、解答はその時点の内容で確定します。</li>\n"
                     "</ol>\n<div class=\"box\">試験終了後は、試験官の指示があるまで「") +
          folder + QStringLiteral("」フォルダーを操作しないでください。</div>\n"),
  };
}

QStringList PracticalNotes() {
  const QString folder = QStringLiteral(
      "<span id=\"FOLDER\" name=\"FOLDER\" class=\"folder\">受験用フォルダー</span>");
  return {
      QStringLiteral("<h1>実技問題　注意事項</h1>\n"
                     "<h2>試験全般について</h2>\n<ol>\n"
                     "<li>問題は、配布された問題冊子に記載されています。</li>\n"
                     "<li>作成するWebページの完成形は、［仕上り見本］ボタンで確認できます。</li>\n"
                     "<li>使用できるソフトウェアは、Webブラウザーとテキストエディター"
                     "（またはWebページ作成ソフト）です。</li>\n"
                     "<li>パソコンの操作に不具合が生じた場合は、手を挙げて試験官に知らせて"
                     "ください。</li>\n</ol>\n"
                     "<div class=\"box\">このパソコンの受験用フォルダーは「") +
          folder + QStringLiteral("」です。</div>\n"),
      QStringLiteral("<h1>実技問題　注意事項</h1>\n"
                     "<h2>作業フォルダーについて</h2>\n"
                     "<p>作業は「") +
          folder +
          QStringLiteral("」フォルダー内の「実技用」フォルダーで行ってください。"
                         "フォルダーの構成は次のとおりです。</p>\n"
                         "<pre>実技用\n"
                         "├ site　　　　… 作成するWebサイト（index.html ほか）\n"
                         "│ ├ css　　　… スタイルシート\n"
                         "│ ├ images　… 画像\n"
                         "│ └ js　　　 … スクリプト\n"
                         "└ material　… 原稿と写真の素材</pre>\n"
                         "<p>ファイル名やフォルダー名は変更しないでください。</p>\n"),
      QStringLiteral("<h1>実技問題　注意事項</h1>\n"
                     "<h2>保存と試験の終了について</h2>\n<ol>\n"
                     "<li>作成したファイルは、必ず「実技用」フォルダー内の指定された場所に"
                     "保存してください。</li>\n"
                     "<li>試験終了前に、編集したファイルをすべて保存して閉じてください。"
                     "開いたままのファイルがあると、試験を終了できません。</li>\n"
                     "<li>［試験終了］ボタンをクリックすると、提出するファイルの一覧が表示"
                     "されます。内容を確認してください。</li>\n</ol>\n"
                     "<div class=\"box\">試験終了後は、試験官の指示があるまで「") +
          folder + QStringLiteral("」フォルダーを操作しないでください。</div>\n"),
  };
}

void WritePracticalWorkFolder(InstallationWriter& w) {
  const QString root = QStringLiteral("実技用/");
  w.writeUtf8Text(
      root + QStringLiteral("site/index.html"),
      QStringLiteral("<!DOCTYPE html>\n"
                     "<html lang=\"ja\">\n"
                     "<head>\n"
                     "  <meta charset=\"UTF-8\">\n"
                     "  <title>喫茶こもれび</title>\n"
                     "  <link rel=\"stylesheet\" href=\"css/style.css\">\n"
                     "</head>\n"
                     "<body>\n"
                     "  <header>\n"
                     "    <h1><img src=\"images/logo.png\" alt=\"喫茶こもれび\"></h1>\n"
                     "    <!-- 問題1：ここにナビゲーションを作成する -->\n"
                     "  </header>\n"
                     "  <main>\n"
                     "    <!-- 問題2：ここにメイン画像と「ようこそ」の文章を入れる -->\n"
                     "  </main>\n"
                     "  <footer>\n"
                     "    <p>&copy; 2024 喫茶こもれび</p>\n"
                     "  </footer>\n"
                     "  <script src=\"js/main.js\"></script>\n"
                     "</body>\n"
                     "</html>\n"));
  w.writeUtf8Text(root + QStringLiteral("site/css/style.css"),
                  QStringLiteral("@charset \"UTF-8\";\n"
                                 "\n"
                                 "body {\n"
                                 "  margin: 0;\n"
                                 "  background: #faf6ef;\n"
                                 "  color: #3a322c;\n"
                                 "  font-family: sans-serif;\n"
                                 "}\n"
                                 "\n"
                                 "header, footer {\n"
                                 "  background: #5a3e2b;\n"
                                 "  color: #fff;\n"
                                 "}\n"
                                 "\n"
                                 "/* 問題3：ナビゲーションの書式をここに追加する */\n"));
  w.writeUtf8Text(root + QStringLiteral("site/js/main.js"),
                  QStringLiteral("// 現在表示しているページのメニューを強調表示する\n"
                                 "document.querySelectorAll('nav a').forEach(function (link) {\n"
                                 "  if (link.href === location.href) {\n"
                                 "    link.classList.add('current');\n"
                                 "  }\n"
                                 "});\n"));
  w.writePicture(root + QStringLiteral("site/images/logo.png"), DrawSiteLogo());
  w.writeCp932Text(
      root + QStringLiteral("material/原稿.txt"),
      QStringLiteral("【ホーム】\n"
                     "見出し：ようこそ\n"
                     "喫茶こもれびは、駅から歩いて５分の住宅街にある小さな喫茶店です。\n"
                     "自家焙煎のコーヒーと、手作りのケーキをご用意しております。\n"
                     "窓から差し込む木漏れ日の中で、ゆっくりとした時間をお過ごしください。\n"
                     "\n"
                     "見出し：お知らせ\n"
                     "4月1日　春限定「桜のシフォンケーキ」を始めました。\n"
                     "3月15日　ホームページを開設しました。\n"
                     "\n"
                     "【メニュー】\n"
                     "ブレンドコーヒー　450円\n"
                     "カフェオレ　500円\n"
                     "紅茶（ダージリン）　480円\n"
                     "チーズケーキ　420円\n"
                     "桜のシフォンケーキ（春限定）　450円\n"
                     "ケーキセット　800円\n"
                     "\n"
                     "【アクセス】\n"
                     "住所：〒123-4567　東京都みどり市こもれび町1-2-3\n"
                     "電話：03-1234-5678\n"
                     "営業時間：9:00～18:00（ラストオーダー17:30）\n"
                     "定休日：毎週水曜日\n"));
  w.writePicture(root + QStringLiteral("material/photo_shop.jpg"),
                 DrawMaterialPhoto(QStringLiteral("shop")));
  w.writePicture(root + QStringLiteral("material/photo_coffee.jpg"),
                 DrawMaterialPhoto(QStringLiteral("coffee")));
}

void WriteImages(InstallationWriter& w) {
  const QString image = QStringLiteral("system/Image/");
  w.writePicture(image + QStringLiteral("bg.jpg"), DrawScreenBackground(1920, 1200));
  w.writePicture(image + QStringLiteral("bg_main_top.jpg"), DrawTitleBand(1280, 122));
  w.writePicture(image + QStringLiteral("bg_main_bottom.jpg"), DrawBottomBand(1280, 80));
  for (int step = 2; step <= 9; ++step)
    w.writePicture(image + QStringLiteral("procedure%1.jpg").arg(step, 2, 10, QLatin1Char('0')),
                   DrawStepStrip(step, false));
  w.writePicture(image + QStringLiteral("procedure05_1.jpg"), DrawStepStrip(5, true));
  w.writePicture(image + QStringLiteral("procedure09_1.jpg"), DrawStepStrip(9, true));
  w.writePicture(image + QStringLiteral("main_top_t.jpg"),
                 DrawExamTitleBand(1930, 90, qRgb(29, 38, 133), qRgb(72, 84, 190)));
  w.writePicture(image + QStringLiteral("main_top_z.jpg"),
                 DrawExamTitleBand(1930, 90, qRgb(20, 80, 110), qRgb(60, 140, 170)));
  w.writePicture(image + QStringLiteral("main_top_mondai_none.jpg"),
                 DrawExamTitleBand(1930, 61, qRgb(29, 38, 133), qRgb(72, 84, 190)));
  w.writePicture(image + QStringLiteral("juken_info_input1.jpg"), DrawTimeFrame(673, 44));
  w.writePicture(image + QStringLiteral("juken_info_input2.jpg"), DrawTimeFrame(673, 70));
  // The extensions here are the ones system.ini names.
  w.writePicture(image + QStringLiteral("MakerImage.png"), DrawMakerLogo());
  w.writePicture(image + QStringLiteral("ShikenImage.gif"), DrawExamName());
  w.writePicture(image + QStringLiteral("KyuInfoImage.bmp"), DrawGradeInfo());
  w.writePicture(image + QStringLiteral("KyuTopImage.png"), DrawGradeTop());
}

}  // namespace

QList<Question> SampleKnowledgeQuestions() {
  QList<Question> questions;
  Question q1;
  q1.title = QStringLiteral("ハードウェア");
  q1.lead = QStringLiteral("コンピュータのハードウェアに関する次の設問に答えよ。");
  q1.subQuestions << Sub(u"CPUのクロック周波数を表す単位として、適切なものはどれか。",
                         {u"bps", u"Hz", u"dpi", u"rpm"}, 2, 10)
                  << Sub(u"電源を切ると記憶内容が失われるメモリはどれか。",
                         {u"ROM", u"フラッシュメモリ", u"DRAM", u"SSD", u"HDD"}, 3, 10);
  Question q2;
  q2.title = QStringLiteral("ネットワーク");
  q2.lead = QStringLiteral("インターネットで使われる技術に関する次の設問に答えよ。");
  q2.subQuestions
      << Sub(u"Webページの閲覧に使われるプロトコルはどれか。", {u"FTP", u"HTTP", u"SMTP", u"POP3"},
             2, 10)
      << Sub(u"IPアドレスから、同じネットワーク上の機器のMACアドレスを求めるために使われる"
             u"プロトコルはどれか。",
             {u"ARP", u"DHCP", u"DNS", u"NTP", u"ICMP"}, 1, 10)
      << Sub(u"ドメイン名とIPアドレスを対応付ける仕組みはどれか。",
             {u"DHCP", u"NAT", u"DNS", u"VPN"}, 3, 10);
  Question q3;
  q3.title = QStringLiteral("情報セキュリティ");
  q3.lead = QStringLiteral("情報セキュリティに関する次の設問に答えよ。");
  q3.subQuestions
      << Sub(u"フィッシングの説明として、適切なものはどれか。",
             {u"実在する企業などを装った電子メールで偽のWebサイトに誘導し、"
              u"個人情報を盗み取る。",
              u"大量のデータを送り付けて、サーバーのサービスを停止させる。",
              u"キーボードの入力内容を記録して、パスワードなどを盗み出す。",
              u"画面や手元を肩越しにのぞき見て、パスワードなどを盗み取る。"},
             1, 10)
      << Sub(u"パスワードの管理として、最も適切なものはどれか。",
             {u"覚えやすいように、自分の誕生日をパスワードにする。",
              u"忘れないように、すべてのサービスで同じパスワードを使う。",
              u"英大文字・英小文字・数字・記号を組み合わせた十分な長さのものにし、"
              u"サービスごとに変える。",
              u"忘れないように、パスワードを書いた紙をディスプレイに貼っておく。"},
             3, 10)
      << Sub(u"公開鍵暗号方式で、受信者だけが読めるように送信者がデータを暗号化するときに"
             u"使う鍵はどれか。",
             {u"送信者の秘密鍵", u"送信者の公開鍵", u"受信者の秘密鍵", u"受信者の公開鍵",
              u"送信者と受信者の共通鍵"},
             4, 15)
      << Sub(u"ランサムウェアによる被害への備えとして、最も有効なものはどれか。",
             {u"定期的にバックアップを取得し、ネットワークから切り離して保管する。",
              u"ファイアウォールの設定をすべて無効にする。",
              u"受信した電子メールの添付ファイルは、すぐに開いて内容を確認する。",
              u"OSの自動更新を停止し、今の状態を保つ。"},
             1, 15);
  questions << q1 << q2 << q3;
  return questions;
}

bool BuildSampleInstallation(const QString& folder, QString* error) {
  InstallationWriter w(folder);
  const QList<Question> questions = SampleKnowledgeQuestions();
  const QString paperTitle = QStringLiteral("コンピュータ技能検定２級　知識問題（サンプル）");

  w.makeDir(QString());
  w.writeFile(SampleMarkerFileName(),
              QByteArrayLiteral("Sample exam installation laid out by examora-make-sample.\n"));

  // Installation-wide files.
  w.writeIni(QStringLiteral("system/system.ini"), SystemIni());
  w.writeIni(QStringLiteral("system/shiken.ini"), ShikenIni());
  w.writeIni(QStringLiteral("system/seito[1].ini"), AnswerKeyText(questions));
  WriteImages(w);

  // Exam part 1: knowledge, shown in the program, with an operation practice.
  w.writeIni(QStringLiteral("system/1/setup.ini"), KnowledgeSetupIni(30, questions));
  WriteQuestionPages(w, QStringLiteral("system/1"), paperTitle, KnowledgeHeadings(), questions);
  WriteNotesPages(w, QStringLiteral("system/1"), QStringLiteral("知識問題　注意事項"),
                  KnowledgeNotes());
  w.writePicture(QStringLiteral("system/1/html/o/OperationExplanation.jpeg"),
                 DrawKnowledgeExplanation());

  const QList<Question> practice = PracticeQuestions();
  w.writeIni(QStringLiteral("system/Z1/setup.ini"), KnowledgeSetupIni(5, practice));
  WriteQuestionPages(w, QStringLiteral("system/Z1"),
                     QStringLiteral("コンピュータ技能検定２級　操作練習"), {}, practice);

  // Exam part 2: practical, worked in outside applications with the compact window.
  w.writeIni(QStringLiteral("system/2/setup.ini"), PracticalSetupIni());
  w.writeIni(QStringLiteral("system/2/update_check.ini"),
             QStringLiteral("[更新チェック]\n"
                            "1=material\\原稿.txt\n"
                            "2=material\\photo_shop.jpg\n"
                            "3=material\\photo_coffee.jpg\n"
                            "4=site\\images\\logo.png\n"));
  WriteNotesPages(w, QStringLiteral("system/2"), QStringLiteral("実技問題　注意事項"),
                  PracticalNotes());
  w.writePicture(QStringLiteral("system/2/html/o/OperationExplanation.jpeg"),
                 DrawPracticalExplanation());
  for (int page = 1; page <= 3; ++page)
    w.writePicture(QStringLiteral("system/2/html/s/mihon%1.jpeg").arg(page),
                   DrawFinishedSamplePage(page));
  WritePracticalWorkFolder(w);

  // Exam part 3: practical, with its tasks shown in the exam window beside the editor.
  w.writeIni(QStringLiteral("system/3/setup.ini"), PracticalQuestionSetupIni());
  w.writeIni(QStringLiteral("system/3/update_check.ini"),
             QStringLiteral("[更新チェック]\n"
                            "1=material\\原稿.txt\n"
                            "2=site\\images\\logo.png\n"));
  WriteQuestionPages(w, QStringLiteral("system/3"),
                     QStringLiteral("コンピュータ技能検定２級　実技問題（サンプル）"), {},
                     PracticalTasks());
  WriteNotesPages(w, QStringLiteral("system/3"), QStringLiteral("実技問題　注意事項"),
                  PracticalNotes());
  w.writePicture(QStringLiteral("system/3/html/o/OperationExplanation.jpeg"),
                 DrawPracticalExplanation());
  for (int page = 1; page <= 3; ++page)
    w.writePicture(QStringLiteral("system/3/html/s/mihon%1.jpeg").arg(page),
                   DrawFinishedSamplePage(page));
  // Exam part 4: knowledge of the web style: the candidate opens the paper in a browser from
  // "知識用" and answers in the narrow answer window, after an operation practice.
  const auto webSetup = [](QString text) {
    return text.replace(QStringLiteral("受験タイプ=1"), QStringLiteral("受験タイプ=3"))
        .replace(QStringLiteral("部種名称=知識"), QStringLiteral("部種名称=Web知識"));
  };
  w.writeIni(QStringLiteral("system/4/setup.ini"), webSetup(KnowledgeSetupIni(30, questions)));
  w.writeIni(QStringLiteral("system/seito[4].ini"), AnswerKeyText(questions));
  WriteNotesPages(w, QStringLiteral("system/4"), QStringLiteral("知識問題　注意事項"),
                  KnowledgeNotes());
  w.writePicture(QStringLiteral("system/4/html/o/OperationExplanation.jpeg"),
                 DrawKnowledgeExplanation());
  w.writeIni(QStringLiteral("system/Z4/setup.ini"), webSetup(KnowledgeSetupIni(5, practice)));
  const auto startPage = [&w](const QString& file, const QString& title, const QString& paper) {
    w.writeHtmlPage(file, title, QString(),
                    QStringLiteral("<h1>") + title + QStringLiteral("</h1>\n<p><a href=\"") +
                        paper + QStringLiteral("\">問題を表示する</a></p>\n"));
  };
  WriteQuestionPages(w, QStringLiteral("知識用/question"), paperTitle, KnowledgeHeadings(),
                     questions);
  startPage(QStringLiteral("知識用/start.html"), paperTitle,
            QStringLiteral("question/html/q/all/index.html"));
  WriteQuestionPages(w, QStringLiteral("知識操作練習用/question"),
                     QStringLiteral("コンピュータ技能検定２級　操作練習"), {}, practice);
  startPage(QStringLiteral("知識操作練習用/start_rensyu.html"),
            QStringLiteral("コンピュータ技能検定２級　操作練習"),
            QStringLiteral("question/html/q/all/index.html"));

  if (!w.ok() && error) *error = w.error();
  return w.ok();
}

}  // namespace examora::sample
