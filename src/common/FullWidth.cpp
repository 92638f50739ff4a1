#include "common/FullWidth.h"

#include "common/Cp932.h"

namespace examora {

namespace {

struct Kana {
  unsigned char cell;    // JIS row 5 cell of the full-width katakana; 0: no entry
  bool joinsVoiced;      // ﾞ makes the next character of the row (ガ after カ)
  bool joinsSemiVoiced;  // ﾟ makes the one after that (パ after ハ)
};

constexpr unsigned char kFirstKana = 0xA6;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
constexpr quint16 kFullVoicedMark = 0x212B;      // ゛
constexpr quint16 kFullSemiVoicedMark = 0x212C;  // ゜

// Half-width katakana 0xA6-0xDD. 0xB0 (ｰ) is a punctuation sign and has no entry here.
constexpr Kana kKana[] = {
    {0x72, false, false},  // ｦ ヲ
    {0x21, false, false},  // ｧ ァ
    {0x23, false, false},  // ｨ ィ
    {0x25, false, false},  // ｩ ゥ
    {0x27, false, false},  // ｪ ェ
    {0x29, false, false},  // ｫ ォ
    {0x63, false, false},  // ｬ ャ
    {0x65, false, false},  // ｭ ュ
    {0x67, false, false},  // ｮ ョ
    {0x43, false, false},  // ｯ ッ
    {0x00, false, false},  // ｰ (punctuation)
    {0x22, false, false},  // ｱ ア
    {0x24, false, false},  // ｲ イ
    {0x26, false, false},  // ｳ ウ
    {0x28, false, false},  // ｴ エ
    {0x2A, false, false},  // ｵ オ
    {0x2B, true, false},   // ｶ カ
    {0x2D, true, false},   // ｷ キ
    {0x2F, true, false},   // ｸ ク
    {0x31, true, false},   // ｹ ケ
    {0x33, true, false},   // ｺ コ
    {0x35, true, false},   // ｻ サ
    {0x37, true, false},   // ｼ シ
    {0x39, true, false},   // ｽ ス
    {0x3B, true, false},   // ｾ セ
    {0x3D, true, false},   // ｿ ソ
    {0x3F, true, false},   // ﾀ タ
    {0x41, true, false},   // ﾁ チ
    {0x44, true, false},   // ﾂ ツ
    {0x46, true, false},   // ﾃ テ
    {0x48, true, false},   // ﾄ ト
    {0x4A, false, false},  // ﾅ ナ
    {0x4B, false, false},  // ﾆ ニ
    {0x4C, false, false},  // ﾇ ヌ
    {0x4D, false, false},  // ﾈ ネ
    {0x4E, false, false},  // ﾉ ノ
    {0x4F, true, true},    // ﾊ ハ
    {0x52, true, true},    // ﾋ ヒ
    {0x55, true, true},    // ﾌ フ
    {0x58, true, true},    // ﾍ ヘ
    {0x5B, true, true},    // ﾎ ホ
    {0x5E, false, false},  // ﾏ マ
    {0x5F, false, false},  // ﾐ ミ
    {0x60, false, false},  // ﾑ ム
    {0x61, false, false},  // ﾒ メ
    {0x62, false, false},  // ﾓ モ
    {0x64, false, false},  // ﾔ ヤ
    {0x66, false, false},  // ﾕ ユ
    {0x68, false, false},  // ﾖ ヨ
    {0x69, false, false},  // ﾗ ラ
    {0x6A, false, false},  // ﾘ リ
    {0x6B, false, false},  // ﾙ ル
    {0x6C, false, false},  // ﾚ レ
    {0x6D, false, false},  // ﾛ ロ
    {0x6F, false, false},  // ﾜ ワ
    {0x73, false, false},  // ﾝ ン
};

struct Punctuation {
  unsigned char half;
  quint16 sjis;
};

constexpr Punctuation kPunctuation[] = {
    {' ', 0x8140},  {'!', 0x8149},  {'"', 0x8168},  {'#', 0x8194},  {'$', 0x8190}, {'%', 0x8193},
    {'&', 0x8195},  {'\'', 0x8166}, {'(', 0x8169},  {')', 0x816A},  {'=', 0x8181}, {'`', 0x8165},
    {'|', 0x8162},  {'-', 0x817C},  {'^', 0x814F},  {'\\', 0x818F}, {'~', 0x8150}, {'{', 0x816F},
    {'@', 0x8197},  {'[', 0x816D},  {'+', 0x817B},  {'*', 0x8196},  {'}', 0x8170}, {';', 0x8147},
    {':', 0x8146},  {']', 0x816E},  {'<', 0x8183},  {'>', 0x8184},  {'?', 0x8148}, {'_', 0x8151},
    {0xA4, 0x8141}, {0xA1, 0x8142}, {0xA5, 0x8145}, {',', 0x8143},  {'.', 0x8144}, {'/', 0x815E},
    {0xB0, 0x815B}, {0xA2, 0x8175}, {0xA3, 0x8176},
};

bool IsAlnum(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

void AppendJis(QByteArray& out, quint16 jis) {
  const auto sj = JisToShiftJis(jis);
  out.append(char(sj[0]));
  out.append(char(sj[1]));
}

}  // namespace

std::array<unsigned char, 2> JisToShiftJis(quint16 jis) {
  const unsigned row = jis >> 8;
  const unsigned cell = jis & 0xFF;
  const unsigned first = (row + 1) / 2 + (row <= 0x5E ? 0x70 : 0xB0);
  unsigned second;
  if (row % 2 == 0)
    second = cell + 0x7E;
  else
    second = cell + (cell < 0x60 ? 0x1F : 0x20);
  return {static_cast<unsigned char>(first), static_cast<unsigned char>(second)};
}

QByteArray ToFullWidth(QByteArrayView cp932) {
  QByteArray out;
  out.reserve(cp932.size() * 2);
  const qsizetype n = cp932.size();
  qsizetype i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (IsCp932LeadByte(b)) {
      // A lead byte at the very end has no partner; it is copied alone.
      out.append(cp932.sliced(i, qMin<qsizetype>(2, n - i)));
      i += 2;
      continue;
    }
    if (IsAlnum(b)) {
      AppendJis(out, quint16(0x2300 + b));
      ++i;
      continue;
    }
    if ((b >= kFirstKana && b <= 0xAF) || (b >= 0xB1 && b <= kSemiVoicedMark)) {
      if (b >= kVoicedMark) {  // a sound mark with no kana before it stays as it is
        out.append(char(b));
        ++i;
        continue;
      }
      const Kana& k = kKana[b - kFirstKana];
      const quint16 jis = quint16(0x2500 + k.cell);
      const int next = i + 1 < n ? static_cast<unsigned char>(cp932[i + 1]) : -1;
      if (next == kVoicedMark && k.joinsVoiced) {
        AppendJis(out, quint16(jis + 1));
      } else if (next == kSemiVoicedMark && k.joinsSemiVoiced) {
        AppendJis(out, quint16(jis + 2));
      } else {
        // Only the ha row has semi-voiced forms: ｶﾟ keeps its mark rather than turning into
        // the kana two places further on (キ).
        AppendJis(out, jis);
        if (next == kVoicedMark)
          AppendJis(out, kFullVoicedMark);
        else if (next == kSemiVoicedMark)
          AppendJis(out, kFullSemiVoicedMark);
        else {
          ++i;
          continue;
        }
      }
      i += 2;
      continue;
    }
    bool found = false;
    for (const Punctuation& p : kPunctuation) {
      if (p.half == b) {
        out.append(char(p.sjis >> 8));
        out.append(char(p.sjis & 0xFF));
        found = true;
        break;
      }
    }
    if (!found) out.append(char(b));
    ++i;
  }
  return out;
}

QString ToFullWidth(const QString& text) {
  return FromCp932(ToFullWidth(ToCp932(text)));
}

}  // namespace examora
