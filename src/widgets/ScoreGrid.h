#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace examora {

struct KnowledgeScore;

// The read-only string grid of the knowledge score: fixed column 0 and fixed rows 0 and 1
// (bold, never scrolled), silver grid lines, black lines between questions, the question
// heading of row 0 spanning its question's four columns. Cells can be selected as a range
// with the mouse; nothing can be edited.
class ScoreGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kDefaultColumnWidth = 32;
  static constexpr int kDefaultRowHeight = 21;
  static constexpr int kFixedColumns = 1;
  static constexpr int kFixedRows = 2;
  static constexpr int kSpan = 4;  // columns per question heading

  explicit ScoreGrid(QWidget* parent = nullptr);

  // Sizes the grid to the score and fills every cell; row heights return to the default.
  void SetScore(const KnowledgeScore& score);

  int ColumnCount() const { return columnWidths_.size(); }
  int RowCount() const { return rowHeights_.size(); }
  QString CellText(int row, int col) const;  // "" outside the grid
  int RowHeight(int row) const;              // 0 outside the grid
  void SetRowHeight(int row, int height);
  int ColumnWidth(int col) const;  // 0 outside the grid

  // Where a cell is drawn in viewport coordinates at the current scroll position (a heading of
  // row 0 covers its whole span); empty when it lies outside the grid.
  QRect CellRect(int row, int col) const;

  // The selected range of scrollable cells (rows and columns inclusive); an empty rect when
  // nothing is selected.
  QRect Selection() const { return selection_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  QSize sizeHint() const override;

 private:
  void UpdateScrollBars();
  int ColumnLeft(int col) const;  // content x of the column, before scrolling
  int RowTop(int row) const;      // content y of the row, before scrolling
  int FixedWidth() const;
  int FixedHeight() const;
  // First column of the merged heading that holds col in row 0.
  int SpanStart(int col) const;
  QPoint CellAt(QPoint viewportPos) const;  // (col, row); (-1, -1) outside the cells
  void PaintCell(class QPainter& p, int row, int col, const QRect& rect) const;

  QList<QStringList> cells_;  // [row][col]
  QList<int> columnWidths_;
  QList<int> rowHeights_;
  QRect selection_;
  QPoint anchor_{-1, -1};
};

}  // namespace examora
