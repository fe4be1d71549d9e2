// The window's text tables. The title rows and columns are ordinary cells
// of the model, so every cell is addressed the same way; three small views
// over the same model (title columns, title rows, and the corner where they
// meet) are laid over the body and follow its scrolling on one axis only,
// which keeps the titles in place while the body moves under them.

#include "shell/widgets/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

namespace tesk {

namespace {

constexpr Qt::ItemFlags TITLE_FLAGS = Qt::ItemIsEnabled;
constexpr Qt::ItemFlags VALUE_FLAGS = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
constexpr Qt::ItemFlags EDIT_FLAGS = VALUE_FLAGS | Qt::ItemIsEditable;

void plainTable(QTableView* v) {
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->horizontalHeader()->setMinimumSectionSize(1);
    v->verticalHeader()->setMinimumSectionSize(1);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setWordWrap(false);
}

} // namespace

StringGrid::StringGrid(QWidget* parent, const char* name, int columns, int rows, int fixedColumns,
                       int fixedRows)
    : QTableWidget(rows, columns, parent), fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    setObjectName(name);
    plainTable(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            if (isFixed(c, r)) {
                item->setFlags(TITLE_FLAGS);
                item->setBackground(QColor::fromRgb(FIXED_COLOUR));
            } else {
                item->setFlags(VALUE_FLAGS);
            }
            setItem(r, c, item);
        }
    // The operator starts in the first body cell, as in any table.
    if (fixedColumns < columns && fixedRows < rows) setCurrentCell(fixedRows, fixedColumns);

    if (fixedColumns > 0) frozenColumns_ = frozenView(true, false);
    if (fixedRows > 0) frozenRows_ = frozenView(false, true);
    if (fixedColumns > 0 && fixedRows > 0) frozenCorner_ = frozenView(true, true);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int index, int, int size) {
                for (QTableView* v : {frozenColumns_, frozenRows_, frozenCorner_})
                    if (v) v->setColumnWidth(index, size);
                placeFrozenViews();
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        for (QTableView* v : {frozenColumns_, frozenRows_, frozenCorner_})
            if (v) v->setRowHeight(index, size);
        placeFrozenViews();
    });
    placeFrozenViews();
}

QTableView* StringGrid::frozenView(bool columns, bool rows) {
    auto* v = new QTableView(this);
    plainTable(v);
    v->setModel(model());
    v->setSelectionModel(selectionModel());
    v->setFocusPolicy(Qt::NoFocus);
    v->setFrameShape(QFrame::NoFrame);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int c = 0; c < columnCount(); ++c) {
        v->setColumnWidth(c, columnWidth(c));
        if (columns) v->setColumnHidden(c, c >= fixedColumns_);
    }
    for (int r = 0; r < rowCount(); ++r) {
        v->setRowHeight(r, rowHeight(r));
        if (rows) v->setRowHidden(r, r >= fixedRows_);
    }
    // Title columns move up and down with the body, title rows left and
    // right; the corner never moves.
    if (columns && !rows) {
        connect(verticalScrollBar(), &QScrollBar::valueChanged, v->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(v->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
    }
    if (rows && !columns) {
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, v->horizontalScrollBar(),
                &QScrollBar::setValue);
        connect(v->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
                &QScrollBar::setValue);
    }
    v->raise(); // over the body; the corner, made last, over both title views
    return v;
}

int StringGrid::fixedWidth() const {
    int w = 0;
    for (int c = 0; c < fixedColumns_ && c < columnCount(); ++c) w += columnWidth(c);
    return w;
}

int StringGrid::fixedHeight() const {
    int h = 0;
    for (int r = 0; r < fixedRows_ && r < rowCount(); ++r) h += rowHeight(r);
    return h;
}

void StringGrid::placeFrozenViews() {
    const QRect body = viewport()->geometry();
    const int w = std::min(fixedWidth(), body.width());
    const int h = std::min(fixedHeight(), body.height());
    if (frozenColumns_) {
        frozenColumns_->setGeometry(body.x(), body.y(), w, body.height());
        frozenColumns_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    }
    if (frozenRows_) {
        frozenRows_->setGeometry(body.x(), body.y(), body.width(), h);
        frozenRows_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    }
    if (frozenCorner_) {
        frozenCorner_->setGeometry(body.x(), body.y(), w, h);
        frozenCorner_->raise();
    }
}

void StringGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    placeFrozenViews();
}

void StringGrid::updateGeometries() {
    QTableWidget::updateGeometries();
    placeFrozenViews();
}

void StringGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableWidget::scrollTo(index, hint);
    if (!index.isValid() || isFixed(index.column(), index.row())) return;
    const QRect r = visualRect(index);
    if (r.left() < fixedWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (fixedWidth() - r.left()));
    if (r.top() < fixedHeight())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (fixedHeight() - r.top()));
}

QString StringGrid::cell(int column, int row) const {
    const QTableWidgetItem* i = item(row, column);
    return i ? i->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text) {
    if (QTableWidgetItem* i = item(row, column)) i->setText(text);
}

void StringGrid::fillBody(const QString& text) {
    for (int r = fixedRows_; r < rowCount(); ++r)
        for (int c = fixedColumns_; c < columnCount(); ++c) setCell(c, r, text);
}

void StringGrid::setCellEditable(int column, int row, bool editable) {
    QTableWidgetItem* i = item(row, column);
    if (!i || isFixed(column, row)) return;
    i->setFlags(editable ? EDIT_FLAGS : VALUE_FLAGS);
}

bool StringGrid::isCellEditable(int column, int row) const {
    const QTableWidgetItem* i = item(row, column);
    return i && (i->flags() & Qt::ItemIsEditable);
}

bool StringGrid::typeIntoCell(int column, int row, const QString& text) {
    QTableWidgetItem* i = item(row, column);
    if (!i || !isCellEditable(column, row)) return false;
    setCurrentCell(row, column);
    editItem(i);
    auto* editor = viewport()->findChild<QLineEdit*>();
    if (!editor) return false;
    editor->setText(text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    // The item delegate commits and closes its editor from the event queue;
    // the closed editor is deleted at once, so that the next cell typed into
    // finds its own editor and not this one.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opened = QTableWidget::edit(index, trigger, event);
    if (opened) editing_ = index;
    return opened;
}

void StringGrid::commitData(QWidget* editor) {
    QTableWidget::commitData(editor);
    const QModelIndex at = editing_;
    if (at.isValid() && onCellEdited) onCellEdited(at.column(), at.row());
}

void StringGrid::setColumnWidths(std::initializer_list<int> widths) {
    int c = 0;
    for (int w : widths) setColumnWidth(c++, w);
}

QSize StringGrid::cellsSize() const {
    int w = 0, h = 0;
    for (int c = 0; c < columnCount(); ++c) w += columnWidth(c);
    for (int r = 0; r < rowCount(); ++r) h += rowHeight(r);
    return QSize(w + 2 * frameWidth(), h + 2 * frameWidth());
}

void StringGrid::fitToCells() {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resize(cellsSize());
}

} // namespace tesk
