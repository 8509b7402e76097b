#include "Grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include "widgets/Twips.h"

namespace vormgui {

namespace {

// The code that the page's key rules take for a key, or nothing for a key
// that the grid itself handles (arrows, page keys) or that belongs to the
// window (Escape runs Cancel, Tab moves the focus).
std::optional<int> keyCode(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    return static_cast<std::int16_t>(text.at(0).unicode());
}

QTableWidgetItem* headerItem(const QString& text) { return new QTableWidgetItem(text); }

}  // namespace

Grid::Grid(QWidget* parent) : QTableWidget(0, 1, parent) {
    setObjectName(QStringLiteral("grd"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(twipsToPixels(300, logicalDpiY()));
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalHeaderItem(0, headerItem(QString()));
    connect(this, &QTableWidget::currentCellChanged, this, [this](int, int, int previousRow, int) {
        if (previousRow >= 0) emit leavingCell(previousRow + 1);
    });
}

void Grid::setRows(int rows) {
    setRowCount(std::max(rows, 1) - 1);
    if (currentRow() < 0 && rowCount() > 0) setCurrentCell(0, 0);
}

QString Grid::textMatrix(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col > 1) return QString();
    const QTableWidgetItem* item = row == 0 ? (col == 1 ? horizontalHeaderItem(0) : nullptr)
                                            : (col == 0 ? verticalHeaderItem(row - 1) : this->item(row - 1, 0));
    return item ? item->text() : QString();
}

void Grid::setTextMatrix(int row, int col, const QString& text) {
    if (row < 0 || row >= rows() || col < 0 || col > 1) return;
    if (row == 0) {
        if (col == 1) horizontalHeaderItem(0)->setText(text);
    } else if (col == 0) {
        setVerticalHeaderItem(row - 1, headerItem(text));
    } else if (QTableWidgetItem* existing = item(row - 1, 0)) {
        existing->setText(text);
    } else {
        setItem(row - 1, 0, new QTableWidgetItem(text));
    }
}

void Grid::setCurrentDataRow(int row) {
    if (row >= 1 && row < rows()) setCurrentCell(row - 1, 0);
}

void Grid::scrollToDataRow(int row) { scrollTo(model()->index(row - 1, 0)); }

QRect Grid::cellRect(int row, const QWidget& widget) const {
    const QRect cell = visualRect(model()->index(row - 1, 0));
    return QRect(viewport()->mapTo(&widget, cell.topLeft()), cell.size());
}

void Grid::setHeading(const QString& heading) {
    horizontalHeaderItem(0)->setText(heading);
    // The row-number column grows beyond its width for respondent numbers
    // of four digits rather than cutting them.
    verticalHeader()->setMinimumWidth(twipsToPixels(400, logicalDpiY()));
    setColumnWidth(0, twipsToPixels(1350, logicalDpiY()));
    horizontalHeader()->setFixedHeight(twipsToPixels(300, logicalDpiY()));

    // The grid grows where its value column would cut the heading, with room
    // for row numbers of four digits and for the scroll bar beside it.
    ensurePolished();
    const QHeaderView& rows = *verticalHeader();
    const int margin = rows.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &rows);
    const int numbers = std::max(rows.minimumWidth(), rows.fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                                                          2 * margin + 2 * rows.frameWidth());
    const int values = std::max(columnWidth(0), horizontalHeader()->sectionSizeHint(0));
    const int needed = 2 * frameWidth() + numbers + values + verticalScrollBar()->sizeHint().width();
    if (needed > width()) setFixedWidth(needed);
}

QStringList Grid::values() const {
    QStringList list;
    for (int r = 1; r < rows(); ++r) list << textMatrix(r, 1);
    return list;
}

void Grid::setNumberedRows(int n) {
    setRows(n + 1);
    for (int r = 1; r <= n; ++r) setTextMatrix(r, 0, QString::number(r));
}

void Grid::setValues(const QStringList& values) {
    setNumberedRows(static_cast<int>(values.size()));
    for (int r = 1; r <= values.size(); ++r) setTextMatrix(r, 1, values[r - 1]);
}

void Grid::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<int> code = keyCode(*event)) {
        event->accept();
        emit keyPressed(*code);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    emit dblClicked();
}

void Grid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    emit gotFocus();
}

}  // namespace vormgui
