#include "mGridEdit.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "Grid.h"
#include "widgets/Twips.h"

namespace vormgui {

namespace {

bool printable(int keyCode) { return (keyCode < 0 || keyCode > 32) && keyCode != 127; }

}  // namespace

GridEditor::GridEditor(Grid& grid, QLineEdit& editor) : GridEditor(grid, editor, editor, nullptr) {}

GridEditor::GridEditor(Grid& grid, QComboBox& editor) : GridEditor(grid, editor, *editor.lineEdit(), &editor) {
    // A list entry must never complete what the user typed ("1" into "10"),
    // and Enter must not add the text to the list.
    editor.setInsertPolicy(QComboBox::NoInsert);
    editor.setCompleter(nullptr);
}

GridEditor::GridEditor(Grid& grid, QWidget& editor, QLineEdit& line, QComboBox* combo)
    : QObject(&editor), grid_(grid), editor_(editor), line_(line), combo_(combo) {
    editor.hide();
    line.clear();
    // The combo box would take Up, Down and Enter for its list; its line edit
    // sees the keys first.
    editor.installEventFilter(this);
    if (&line != &editor) line.installEventFilter(this);
    connect(&grid, &Grid::keyPressed, this, &GridEditor::grd_KeyPress);
    connect(&grid, &Grid::dblClicked, this, &GridEditor::grd_DblClick);
    connect(&grid, &Grid::gotFocus, this, &GridEditor::grd_GotFocus);
    connect(&grid, &Grid::leavingCell, this, &GridEditor::grd_LeaveCell);
}

bool GridEditor::isOpen() const { return !editor_.isHidden(); }

QString GridEditor::text() const { return line_.text(); }

void GridEditor::commit() {
    if (!isOpen()) return;
    grid_.setTextMatrix(grid_.currentDataRow(), 1, text());
    editor_.hide();
}

void GridEditor::discard() { editor_.hide(); }

void GridEditor::open(int keyCode) {
    const int row = grid_.currentDataRow();
    if (row < 1) return;
    const QString text = printable(keyCode) ? QString(QChar(static_cast<char16_t>(keyCode))) : grid_.textMatrix(row, 1);
    line_.setText(text);
    line_.setCursorPosition(static_cast<int>(text.size()));
    // The grid may have been scrolled past the current row: the editor goes
    // over the cell where the user sees it, never outside the grid.
    grid_.scrollToDataRow(row);
    const QRect cell = grid_.cellRect(row, *editor_.parentWidget());
    const int inset = twipsToPixels(8, grid_.logicalDpiY());
    // Only the text box takes the cell's height: a combo box cut to a row's
    // height would hide its text.
    editor_.setGeometry(cell.left(), cell.top(), cell.width() - inset,
                        combo_ ? editor_.sizeHint().height() : cell.height() - inset);
    editor_.show();
    editor_.raise();
    editor_.setFocus();
}

void GridEditor::grd_KeyPress(int keyCode) { open(keyCode); }

void GridEditor::grd_DblClick() {
    open(32);
    if (afterDoubleClick) afterDoubleClick();
}

void GridEditor::grd_LeaveCell(int row) {
    if (!isOpen()) return;
    grid_.setTextMatrix(row, 1, text());
    editor_.hide();
}

void GridEditor::editor_KeyDown(int& keyCode) {
    const int row = grid_.currentDataRow();
    if (keyCode == 38) {
        keyCode = 0;
        if (row < 2) return;
        grid_.setTextMatrix(row, 1, text());
        grid_.setCurrentDataRow(row - 1);
        open(32);
    } else if (keyCode == 40 || keyCode == 13) {
        keyCode = 0;
        if (row >= grid_.rows() - 1) return;
        grid_.setTextMatrix(row, 1, text());
        grid_.setCurrentDataRow(row + 1);
        open(32);
    }
}

bool GridEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        int code = 0;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                code = 38;
                break;
            case Qt::Key_Down:
                code = 40;
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                code = 13;
                break;
            default:
                return QObject::eventFilter(watched, event);
        }
        editor_KeyDown(code);
        if (code == 0) return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vormgui
