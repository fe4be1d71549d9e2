#pragma once
// A table of texts addressed as the window's string grids address them, by
// (column, row). The interpretation tables are computed here and the window's
// grids only show them: title cells are the caption catalogue's, body cells
// come from these models.

#include <string>
#include <vector>

namespace tesk {

class TableModel {
  public:
    TableModel(int columns, int rows, const std::string& fill = "0")
        : columns_(columns), rows_(rows), cells_(std::size_t(columns) * std::size_t(rows), fill) {}

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    bool contains(int column, int row) const {
        return column >= 0 && row >= 0 && column < columns_ && row < rows_;
    }
    // Cells outside the table read as empty and ignore writes.
    const std::string& cell(int column, int row) const {
        static const std::string none;
        return contains(column, row) ? cells_[index(column, row)] : none;
    }
    void setCell(int column, int row, std::string text) {
        if (contains(column, row)) cells_[index(column, row)] = std::move(text);
    }

  private:
    std::size_t index(int column, int row) const {
        return std::size_t(row) * std::size_t(columns_) + std::size_t(column);
    }
    int columns_;
    int rows_;
    std::vector<std::string> cells_;
};

} // namespace tesk
