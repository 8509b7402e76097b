#include "dialogs/mGridEdit.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>

#include "PageFixture.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/Grid.h"
#include "dialogs/GridPage.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/SignPages.h"

namespace vormgui {
namespace {

using test::key;
using test::type;

// Drives a grid and its editor with a script of steps separated by blanks:
// "k7" a printable key on the grid, "space", "bksp" and "dblclick" on the
// grid, "focus" the grid getting the focus, "row2" a move to row 2 (the mouse
// on another cell), "t:xy" typing into the editor, "up", "down", "enter" in
// the editor, "ok" and "cancel" the page's buttons.
void run(const QString& script, WizardPage& page, Grid& grid, QWidget& editor, QLineEdit& line) {
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step.startsWith(QLatin1String("k")) && step.size() == 2) {
            key(&grid, static_cast<Qt::Key>(step[1].toUpper().unicode()), step.mid(1));
        } else if (step == QLatin1String("space")) {
            key(&grid, Qt::Key_Space, QStringLiteral(" "));
        } else if (step == QLatin1String("bksp")) {
            key(&grid, Qt::Key_Backspace, QStringLiteral("\b"));
        } else if (step == QLatin1String("dblclick")) {
            const QRect cell = grid.visualRect(grid.model()->index(grid.currentDataRow() - 1, 0));
            test::doubleClick(grid.viewport(), cell.center());
        } else if (step == QLatin1String("focus")) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(&grid, &in);
        } else if (step.startsWith(QLatin1String("row"))) {
            grid.setCurrentDataRow(step.mid(3).toInt());
        } else if (step.startsWith(QLatin1String("t:"))) {
            type(&line, step.mid(2));
        } else if (step == QLatin1String("up")) {
            key(&editor, Qt::Key_Up);
        } else if (step == QLatin1String("down")) {
            key(&editor, Qt::Key_Down);
        } else if (step == QLatin1String("enter")) {
            key(&editor, Qt::Key_Return, QStringLiteral("\r"));
        } else if (step == QLatin1String("ok")) {
            page.CommandOK_Click();
        } else if (step == QLatin1String("cancel")) {
            page.CommandCancel_Click();
        } else {
            FAIL() << "unknown step " << step.toStdString();
        }
    }
}

struct EditCase {
    const char* script;
    QStringList cells;   // column 1 afterwards
    int row;             // the current row afterwards
    const char* editor;  // the open editor's text, nullptr when it is hidden
    int caret;           // its caret position
};

class GridEditTest : public test::PageTest {};

TEST_F(GridEditTest, TextBoxEditorFollowsTheKeyRules) {
    const EditCase cases[] = {
        {"k7", {"3", "5", "9"}, 1, "7", 1},
        {"k7 enter", {"7", "5", "9"}, 2, "5", 1},
        {"space", {"3", "5", "9"}, 1, "3", 1},
        {"bksp", {"3", "5", "9"}, 1, "3", 1},
        {"row2 dblclick", {"3", "5", "9"}, 2, "5", 1},
        {"row2 k4 up", {"3", "4", "9"}, 1, "3", 1},
        {"k4 up", {"3", "5", "9"}, 1, "4", 1},
        {"row3 k4 down", {"3", "5", "9"}, 3, "4", 1},
        {"row3 k4 enter", {"3", "5", "9"}, 3, "4", 1},
        {"k8 row2", {"8", "5", "9"}, 2, nullptr, 0},
        {"k8 focus", {"8", "5", "9"}, 1, nullptr, 0},
        {"k8 cancel", {"3", "5", "9"}, 1, nullptr, 0},
        {"k7 enter t:2 up", {"7", "52", "9"}, 1, "7", 1},
        {"row3 k4 enter ok", {"3", "5", "4"}, 3, nullptr, 0},
    };
    FormItemsDiscarded& page = *pages.itemsDiscarded;
    pages.itemDef->setItemsText(QStringLiteral("10"));
    job.numItems = 10;
    for (const EditCase& c : cases) {
        page.setValues({"3", "5", "9"});
        pages.deleteItems->setCountText(QStringLiteral("3"));
        page.grd->setCurrentDataRow(1);
        run(QString::fromLatin1(c.script), page, *page.grd, *page.txtGridEdit, *page.txtGridEdit);
        EXPECT_EQ(page.values(), c.cells) << c.script;
        EXPECT_EQ(page.grd->currentDataRow(), c.row) << c.script;
        EXPECT_EQ(page.editor->isOpen(), c.editor != nullptr) << c.script;
        if (c.editor) {
            EXPECT_EQ(page.txtGridEdit->text(), QString::fromLatin1(c.editor)) << c.script;
            EXPECT_EQ(page.txtGridEdit->cursorPosition(), c.caret) << c.script;
        }
        page.editor->discard();
    }
    EXPECT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
    // OK committed the open editor before its checks, so the list went in.
    EXPECT_TRUE(job.discardItems);
    EXPECT_EQ(job.itemsToDiscard[3], 4);
}

TEST_F(GridEditTest, TheEditorOpensOverTheCurrentCellInViewWhereverTheGridWasScrolled) {
    FormSubjectsDiscarded& page = *pages.subjectsDiscarded;
    QStringList values;
    for (int k = 1; k <= 40; ++k) values << QString::number(k);
    page.setValues(values);
    page.show();
    QCoreApplication::processEvents();
    Grid& grid = *page.grd;
    // The current row scrolled out of view, above and below, by the wheel.
    for (const int current : {1, 40}) {
        grid.setCurrentDataRow(current);
        QScrollBar& bar = *grid.verticalScrollBar();
        bar.setValue(current == 1 ? bar.maximum() : bar.minimum());
        run(QStringLiteral("k7"), page, grid, *page.txtGridEdit, *page.txtGridEdit);
        const QRect view(grid.viewport()->mapTo(&page, QPoint()), grid.viewport()->size());
        EXPECT_TRUE(view.contains(page.txtGridEdit->geometry())) << "row " << current << ": the editor is out of view";
        EXPECT_EQ(page.txtGridEdit->geometry().topLeft(), grid.cellRect(current, page).topLeft()) << current;
        page.editor->discard();
    }
    page.hide();
}

TEST_F(GridEditTest, EveryGridHeadingShowsWhole) {
    GridPage* const gridPages[] = {pages.categories, pages.cutoff, pages.manualAssign, pages.itemsDiscarded,
                                   pages.subjectsDiscarded};
    pages.cutoff->setCutoffConstant(false);
    for (GridPage* page : gridPages) {
        // Rows enough for the scroll bar and for row numbers of four digits
        // to take their share of the width.
        page->grd->setNumberedRows(2000);
        page->show();
        QCoreApplication::processEvents();
        const QHeaderView& header = *page->grd->horizontalHeader();
        const QString heading = page->grd->textMatrix(0, 1);
        // The text and the style's margin on either side of it.
        const int needed = QFontMetrics(header.font()).horizontalAdvance(heading) +
                           2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
        EXPECT_GE(header.sectionSize(0), needed) << heading.toStdString() << " is cut";
        page->hide();
    }
}

TEST_F(GridEditTest, ComboEditorTakesTheKeysBeforeItsListAndNeverCompletes) {
    const EditCase cases[] = {
        {"k1 enter", {"1", "", ""}, 2, "", 0},      {"space t:1 enter", {"1", "", ""}, 2, "", 0},
        {"k1 t:0 down", {"10", "", ""}, 2, "", 0},  {"k9 up", {"", "", ""}, 1, "9", 1},
        {"row3 k5 enter", {"", "", ""}, 3, "5", 1}, {"k4 enter k6 enter k8 cancel", {"4", "6", ""}, 3, nullptr, 0},
    };
    FormCategories& page = *pages.categories;
    QLineEdit& line = *page.Combo1->lineEdit();
    for (const EditCase& c : cases) {
        page.setDataRows(3);
        page.setValues({"", "", ""});
        page.grd->setCurrentDataRow(1);
        const int index = page.Combo1->currentIndex();
        run(QString::fromLatin1(c.script), page, *page.grd, *page.Combo1, line);
        EXPECT_EQ(page.values(), c.cells) << c.script;
        EXPECT_EQ(page.grd->currentDataRow(), c.row) << c.script;
        EXPECT_EQ(page.editor->isOpen(), c.editor != nullptr) << c.script;
        if (c.editor) {
            EXPECT_EQ(page.Combo1->currentText(), QString::fromLatin1(c.editor)) << c.script;
        }
        EXPECT_EQ(page.Combo1->currentIndex(), index) << c.script << ": the arrows went to the list";
        EXPECT_EQ(page.Combo1->count(), 9) << c.script << ": Enter added to the list";
        page.editor->discard();
    }
}

}  // namespace
}  // namespace vormgui
