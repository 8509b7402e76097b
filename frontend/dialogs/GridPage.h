// A job page built around a grid: the grid `grd`, its column-1 heading from
// the main window's start-up, and its in-place editor, which OK and Next
// commit first and Cancel throws away.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <cstdint>
#include <span>

#include "Grid.h"
#include "WizardPage.h"
#include "core/Limits.h"

namespace vormgui {

class GridEditor;

// What a grid cell of whole numbers holds, by the one rule for them
// (core/Limits.h): its number from `low` to `high`, or why not.  A number
// that rounds to a value outside the range is out of range before it is not
// whole, as the pages have always said, and so are digits that no 64 bits
// hold.
struct CellCount {
    enum Fault { None, NotANumber, NotWhole, OutOfRange } fault = None;
    std::int64_t value = 0;
};
CellCount cellWhole(const QString& text, std::int64_t low, std::int64_t high);
inline CellCount cellCount(const QString& text, Range range) { return cellWhole(text, range.low, range.high); }

class GridPage : public WizardPage {
    Q_OBJECT
public:
    void setGridHeading(const QString& heading) override { grd->setHeading(heading); }

    // Column 1 of the data rows, and the grid set to hold exactly these.
    QStringList values() const { return grd->values(); }
    void setValues(const QStringList& values) { grd->setValues(values); }
    // `rows` numbered data rows; column 1 of the rows that stay keeps its text.
    void setDataRows(int rows) { grd->setNumberedRows(rows); }

    Grid* grd;
    GridEditor* editor = nullptr;

protected:
    GridPage(const PageContext& context, const char* name, const char* title, const char* helpPage,
             NextButton next = NextButton::Shown);

    // The editor: an editable combo box `Combo1` offering `list`, or a text
    // box `txtGridEdit`.
    QComboBox* comboEditor(const QStringList& list);
    QLineEdit* textEditor();

    // The job reset's grid: `rows` numbered data rows, all empty.
    void emptyRows(int rows);

    // A record list (entries from element 1 on) and the grid's first `count`
    // rows: storeRows takes the checked cells into the list and writes each
    // back as a box shows the stored number; showRows sets the grid to hold
    // entries 1 to `count`, as far as the list reaches.
    void storeRows(std::span<std::int16_t> list, int count);
    void showRows(std::span<const std::int16_t> list, int count);
    // The same for a list of respondent identifiers.
    void storeRows(std::span<std::int64_t> list, int count);
    void showRows(std::span<const std::int64_t> list, int count);

    void commitEditor() override;
    void discardEditor() override;
};

}  // namespace vormgui
