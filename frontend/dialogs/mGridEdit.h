// Editing a grid cell through an editor laid over it: a text box or an
// editable combo box, hidden while nobody edits.
//
// The grid's key press, double-click, focus and leave-cell events and the
// editor's Up, Down and Enter keys follow one set of rules on every grid
// page; GridEditor wires them once.  Key codes are 16-bit character codes: a
// code below 0 or above 32 (other than DEL) is a printable character that
// replaces the cell's text, any other code opens the editor on the cell's
// text; a double-click or a move from the editor opens it with 32.
#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace vormgui {

class Grid;

class GridEditor : public QObject {
    Q_OBJECT
public:
    GridEditor(Grid& grid, QLineEdit& editor);
    GridEditor(Grid& grid, QComboBox& editor);

    bool isOpen() const;
    QString text() const;
    // A visible editor's text goes into the current cell and the editor hides.
    void commit();
    // The editor hides and its text is thrown away.
    void discard();

    // The grid's events.
    void grd_KeyPress(int keyCode);
    void grd_DblClick();
    void grd_GotFocus() { commit(); }
    void grd_LeaveCell(int row);
    // The editor's key down: Up (38), Down (40) and Enter (13) move the editor
    // between data rows and are swallowed (the code becomes 0).
    void editor_KeyDown(int& keyCode);

    // Runs after a double-click has opened the editor (the cutoff page builds
    // the editor's list for the row there).
    std::function<void()> afterDoubleClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GridEditor(Grid& grid, QWidget& editor, QLineEdit& line, QComboBox* combo);
    // Opens the editor over the grid's current cell, as the key code says.
    void open(int keyCode);

    Grid& grid_;
    QWidget& editor_;
    QLineEdit& line_;
    QComboBox* combo_;
};

}  // namespace vormgui
