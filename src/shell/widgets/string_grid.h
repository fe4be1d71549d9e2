#pragma once
// A table of texts addressed by (column, row), with fixed title rows and
// columns in the grey of the window's tables. Title cells stay in place
// while the body scrolls under them, and only the cells the window opens for
// typing take an editor; every other body cell shows a value the window
// computes.

#include <QColor>
#include <QTableWidget>
#include <functional>
#include <initializer_list>

namespace tesk {

class StringGrid final : public QTableWidget {
  public:
    static constexpr QRgb FIXED_COLOUR = 0xFFDDDDDD;

    StringGrid(QWidget* parent, const char* name, int columns, int rows, int fixedColumns,
               int fixedRows);

    int fixedColumns() const { return fixedColumns_; }
    int fixedRows() const { return fixedRows_; }
    bool isFixed(int column, int row) const { return column < fixedColumns_ || row < fixedRows_; }

    // Texts by (column, row), the order the tables are described in.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // Every body cell of the rectangle columns × rows takes the same text.
    void fillBody(const QString& text);

    // Opens or closes a body cell for typing; title cells never open.
    void setCellEditable(int column, int row, bool editable);
    bool isCellEditable(int column, int row) const;

    // The operator finished typing into a body cell (Return or leaving it):
    // the grid's handler takes the cell's new text.
    std::function<void(int column, int row)> onCellEdited;
    // Types text into a cell that is open for typing and ends the edit as
    // Return does, so that onCellEdited runs. False for a closed cell.
    bool typeIntoCell(int column, int row, const QString& text);

    void setColumnWidths(std::initializer_list<int> widths);
    // Width and height that show every column and row without scrolling.
    QSize cellsSize() const;
    // Makes the widget exactly as large as its cells.
    void fitToCells();

    // Scrolls as a table does, then far enough that the cell is not hidden
    // under the title rows or columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void resizeEvent(QResizeEvent* event) override;
    // Scroll bars coming and going change the body's size without resizing
    // the table; the title views follow either way.
    void updateGeometries() override;

  private:
    QTableView* frozenView(bool columns, bool rows);
    void placeFrozenViews();
    int fixedWidth() const;
    int fixedHeight() const;

    QPersistentModelIndex editing_; // the cell whose editor is open
    int fixedColumns_;
    int fixedRows_;
    // Title rows, title columns and their corner, drawn over the body so
    // that they stay put while it scrolls.
    QTableView* frozenColumns_ = nullptr;
    QTableView* frozenRows_ = nullptr;
    QTableView* frozenCorner_ = nullptr;
};

} // namespace tesk
