// The two-column grid of the job pages, shaped like the grid that the pages
// were designed around: rows count the header row (data rows are 1 to
// rows() - 1), column 0 is the fixed column of row numbers (the vertical
// header here), column 1 holds the values.  Qt's own editing and tab
// navigation are off; the pages edit a cell through an editor laid over it
// (mGridEdit.h), driven by the four events below.
#pragma once

#include <QStringList>
#include <QTableWidget>

namespace vormgui {

class Grid : public QTableWidget {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent);

    int rows() const { return rowCount() + 1; }
    // Cuts or extends the grid; column 1 of the rows that stay keeps its
    // text, added rows are empty.
    void setRows(int rows);
    // Row 0 is the header, column 0 the row numbers; outside the grid a cell
    // reads as empty and takes no text.
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // The current data row, 0 when there is none.
    int currentDataRow() const { return currentRow() + 1; }
    void setCurrentDataRow(int row);
    // Scrolls the grid as little as it takes to show the data row whole.
    void scrollToDataRow(int row);
    // The value cell of a data row, in the coordinates of `widget`.
    QRect cellRect(int row, const QWidget& widget) const;

    // Column-1 heading, the column widths and the header height that the
    // main window gives every grid at start-up (rows are 300 twips high).
    void setHeading(const QString& heading);

    // Column 1 of rows 1 to rows() - 1.
    QStringList values() const;
    // rows + 1 rows numbered 1..n in column 0 (column 1 keeps its text).
    void setNumberedRows(int n);
    // As many numbered rows as values, holding them.
    void setValues(const QStringList& values);

signals:
    // A key with a character: its 16-bit code (Enter 13, Space 32, Backspace 8).
    void keyPressed(int code);
    void dblClicked();
    void gotFocus();
    // Raised when the current cell changes, with the data row being left.
    void leavingCell(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace vormgui
