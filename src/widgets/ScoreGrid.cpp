#include "widgets/ScoreGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "completion/model/KnowledgeScoring.h"

namespace examora {
namespace {

constexpr int kLine = 1;  // grid line between cells
const QColor kSilver(192, 192, 192);
const QColor kFixedColour(0xF0, 0xF0, 0xF0);
const QColor kSelectedColour(0xCC, 0xE8, 0xFF);

// Space a row or column takes: its size and the grid line after it; a row of height 0 is
// gone entirely.
int Pitch(int size) {
  return size > 0 ? size + kLine : 0;
}

}  // namespace

ScoreGrid::ScoreGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  QFont f(QStringLiteral("Tahoma"));
  f.setPixelSize(12);
  setFont(f);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(true);
  QPalette pal = viewport()->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(pal);
  // An empty grid still has its fixed cells, like a fresh grid of the widget kit.
  cells_ = QList<QStringList>(kFixedRows, QStringList(kFixedColumns));
  columnWidths_ = QList<int>(kFixedColumns, kDefaultColumnWidth);
  rowHeights_ = QList<int>(kFixedRows, kDefaultRowHeight);
}

void ScoreGrid::SetScore(const KnowledgeScore& score) {
  const int rows = score.rows();
  const int cols = score.columns();
  cells_.clear();
  for (int r = 0; r < rows; ++r) {
    QStringList line;
    line.reserve(cols);
    for (int c = 0; c < cols; ++c) line.append(ScoreCellText(score, r, c));
    cells_.append(line);
  }
  columnWidths_ = QList<int>(cols, kDefaultColumnWidth);
  rowHeights_ = QList<int>(rows, kDefaultRowHeight);
  selection_ = QRect();
  anchor_ = QPoint(-1, -1);
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  UpdateScrollBars();
  viewport()->update();
}

QString ScoreGrid::CellText(int row, int col) const {
  if (row < 0 || row >= cells_.size()) return {};
  const QStringList& line = cells_.at(row);
  return col >= 0 && col < line.size() ? line.at(col) : QString();
}

int ScoreGrid::RowHeight(int row) const {
  return row >= 0 && row < rowHeights_.size() ? rowHeights_.at(row) : 0;
}

void ScoreGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rowHeights_.size()) return;
  rowHeights_[row] = std::max(0, height);
  UpdateScrollBars();
  viewport()->update();
}

int ScoreGrid::ColumnWidth(int col) const {
  return col >= 0 && col < columnWidths_.size() ? columnWidths_.at(col) : 0;
}

int ScoreGrid::ColumnLeft(int col) const {
  int x = 0;
  for (int c = 0; c < col && c < columnWidths_.size(); ++c) x += Pitch(columnWidths_.at(c));
  return x;
}

int ScoreGrid::RowTop(int row) const {
  int y = 0;
  for (int r = 0; r < row && r < rowHeights_.size(); ++r) y += Pitch(rowHeights_.at(r));
  return y;
}

int ScoreGrid::FixedWidth() const {
  return ColumnLeft(std::min<int>(kFixedColumns, ColumnCount()));
}

int ScoreGrid::FixedHeight() const {
  return RowTop(std::min<int>(kFixedRows, RowCount()));
}

int ScoreGrid::SpanStart(int col) const {
  if (col < kFixedColumns) return col;
  return kFixedColumns + ((col - kFixedColumns) / kSpan) * kSpan;
}

QRect ScoreGrid::CellRect(int row, int col) const {
  if (row < 0 || row >= RowCount() || col < 0 || col >= ColumnCount()) return {};
  int first = col;
  int last = col;
  if (row == 0 && col >= kFixedColumns) {
    first = SpanStart(col);
    last = std::min(first + kSpan - 1, ColumnCount() - 1);
  }
  const int dx = first >= kFixedColumns ? horizontalScrollBar()->value() : 0;
  const int dy = row >= kFixedRows ? verticalScrollBar()->value() : 0;
  const int left = ColumnLeft(first) - dx;
  const int right = ColumnLeft(last) + ColumnWidth(last) - dx;  // exclusive
  const int top = RowTop(row) - dy;
  return QRect(left, top, right - left, RowHeight(row));
}

void ScoreGrid::UpdateScrollBars() {
  const int totalWidth = ColumnLeft(ColumnCount());
  const int totalHeight = RowTop(RowCount());
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, totalWidth - view.width()));
  horizontalScrollBar()->setPageStep(std::max(1, view.width() - FixedWidth()));
  horizontalScrollBar()->setSingleStep(Pitch(kDefaultColumnWidth));
  verticalScrollBar()->setRange(0, std::max(0, totalHeight - view.height()));
  verticalScrollBar()->setPageStep(std::max(1, view.height() - FixedHeight()));
  verticalScrollBar()->setSingleStep(Pitch(kDefaultRowHeight));
}

QSize ScoreGrid::sizeHint() const {
  const int frame = 2 * frameWidth();
  return {ColumnLeft(ColumnCount()) + frame, RowTop(RowCount()) + frame};
}

void ScoreGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ScoreGrid::scrollContentsBy(int, int) {
  viewport()->update();
}

QPoint ScoreGrid::CellAt(QPoint pos) const {
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < ColumnCount(); ++c) {
      const QRect rect = CellRect(r, c);
      // The scrolled cells pass under the fixed ones.
      if (r >= kFixedRows && pos.y() < FixedHeight()) continue;
      if (c >= kFixedColumns && pos.x() < FixedWidth()) continue;
      if (rect.adjusted(0, 0, kLine, kLine).contains(pos)) return {c, r};
    }
  }
  return {-1, -1};
}

void ScoreGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint cell = CellAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || cell.x() < kFixedColumns || cell.y() < kFixedRows) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  anchor_ = cell;
  selection_ = QRect(cell, cell);
  viewport()->update();
}

void ScoreGrid::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || anchor_.x() < 0) return;
  const QPoint cell = CellAt(event->position().toPoint());
  if (cell.x() < kFixedColumns || cell.y() < kFixedRows) return;
  selection_ = QRect(QPoint(std::min(anchor_.x(), cell.x()), std::min(anchor_.y(), cell.y())),
                     QPoint(std::max(anchor_.x(), cell.x()), std::max(anchor_.y(), cell.y())));
  viewport()->update();
}

void ScoreGrid::PaintCell(QPainter& p, int row, int col, const QRect& rect) const {
  const bool fixed = row < kFixedRows || col < kFixedColumns;
  const bool selected = !fixed && selection_.contains(col, row);
  p.fillRect(rect, fixed ? kFixedColour : (selected ? kSelectedColour : QColor(Qt::white)));

  QFont f = font();
  f.setBold(fixed);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(rect, Qt::AlignCenter, CellText(row, col));

  // Left border inside the cell, right and bottom on the grid lines after it; no top border.
  const int last = row == 0 && col >= kFixedColumns
                       ? std::min(SpanStart(col) + kSpan - 1, ColumnCount() - 1)
                       : col;
  const CellBorders left = ScoreGridBorders(col, ColumnCount());
  const CellBorders right = ScoreGridBorders(last, ColumnCount());
  const int x0 = rect.left();
  const int x1 = rect.left() + rect.width();  // first grid-line pixel
  const int y0 = rect.top();
  const int y1 = rect.top() + rect.height();
  p.setPen(left.leftBlack ? QColor(Qt::black) : kSilver);
  p.drawLine(x0, y0, x0, y1 - 1);
  p.setPen(right.rightBlack ? QColor(Qt::black) : kSilver);
  p.drawLine(x1, y0, x1, y1);
  p.setPen(kSilver);
  p.drawLine(x0, y1, x1, y1);
}

void ScoreGrid::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QRect view = viewport()->rect();
  const int fixedWidth = FixedWidth();
  const int fixedHeight = FixedHeight();

  // Draws the cells of one area of the grid, clipped to it.
  const auto paintArea = [&](const QRect& area, int firstRow, int lastRow, int firstCol,
                             int lastCol) {
    if (area.isEmpty()) return;
    p.save();
    p.setClipRect(area);
    for (int r = firstRow; r <= lastRow; ++r) {
      if (RowHeight(r) <= 0) continue;
      for (int c = firstCol; c <= lastCol; ++c) {
        if (r == 0 && c >= kFixedColumns && c != SpanStart(c)) continue;  // inside a heading
        const QRect rect = CellRect(r, c);
        if (!rect.adjusted(0, 0, kLine, kLine).intersects(area)) continue;
        PaintCell(p, r, c, rect);
      }
    }
    p.restore();
  };

  const int rows = RowCount();
  const int cols = ColumnCount();
  const int fixedRows = std::min<int>(kFixedRows, rows);
  const int fixedCols = std::min<int>(kFixedColumns, cols);
  paintArea(QRect(QPoint(fixedWidth, fixedHeight), view.bottomRight()), fixedRows, rows - 1,
            fixedCols, cols - 1);
  paintArea(QRect(QPoint(fixedWidth, 0), QPoint(view.right(), fixedHeight - 1)), 0, fixedRows - 1,
            fixedCols, cols - 1);
  paintArea(QRect(QPoint(0, fixedHeight), QPoint(fixedWidth - 1, view.bottom())), fixedRows,
            rows - 1, 0, fixedCols - 1);
  paintArea(QRect(0, 0, fixedWidth, fixedHeight), 0, fixedRows - 1, 0, fixedCols - 1);
}

}  // namespace examora
