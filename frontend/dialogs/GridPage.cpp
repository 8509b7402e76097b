#include "GridPage.h"

#include <QRegularExpression>
#include <cmath>

#include "mGridEdit.h"
#include "platform/Numbers.h"
#include "widgets/Twips.h"

namespace vormgui {

CellCount cellWhole(const QString& text, std::int64_t low, std::int64_t high) {
    const std::optional<double> number = parseNumber(text);
    if (!number) return {CellCount::NotANumber};
    if (const std::optional<std::int64_t> whole = parseWhole(text))
        return *whole >= low && *whole <= high ? CellCount{CellCount::None, *whole} : CellCount{CellCount::OutOfRange};
    // A sign and digits that are no whole number are too many digits.
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (digits.match(text.trimmed()).hasMatch()) return {CellCount::OutOfRange};
    const double rounded = std::nearbyint(*number);
    return {rounded >= double(low) && rounded <= double(high) ? CellCount::NotWhole : CellCount::OutOfRange};
}

GridPage::GridPage(const PageContext& context, const char* name, const char* title, const char* helpPage,
                   NextButton next)
    : WizardPage(context, name, title, helpPage, next), grd(new Grid(this)) {
    // Room for the row numbers, the value column and the scroll bar; the
    // value column takes what is left.
    grd->setFixedSize(twipsToPixels(2200, logicalDpiY()), twipsToPixels(2700, logicalDpiY()));
}

QComboBox* GridPage::comboEditor(const QStringList& list) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("Combo1"));
    combo->setEditable(true);
    combo->addItems(list);
    editor = new GridEditor(*grd, *combo);
    return combo;
}

QLineEdit* GridPage::textEditor() {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txtGridEdit"));
    editor = new GridEditor(*grd, *box);
    return box;
}

void GridPage::emptyRows(int rows) {
    grd->setNumberedRows(rows);
    for (int r = 1; r <= rows; ++r) grd->setTextMatrix(r, 1, QString());
}

void GridPage::storeRows(std::span<std::int16_t> list, int count) {
    for (int k = 1; k <= count; ++k) {
        list[k] = static_cast<std::int16_t>(*parseCount(grd->textMatrix(k, 1)));
        grd->setTextMatrix(k, 1, boxText(list[k]));
    }
}

void GridPage::showRows(std::span<const std::int16_t> list, int count) {
    QStringList values;
    for (int k = 1; k <= count && k < static_cast<int>(list.size()); ++k) values << boxText(list[k]);
    grd->setValues(values);
}

void GridPage::storeRows(std::span<std::int64_t> list, int count) {
    for (int k = 1; k <= count; ++k) {
        list[k] = *parseWhole(grd->textMatrix(k, 1));
        grd->setTextMatrix(k, 1, QString::number(list[k]));
    }
}

void GridPage::showRows(std::span<const std::int64_t> list, int count) {
    QStringList values;
    for (int k = 1; k <= count && k < static_cast<int>(list.size()); ++k) values << QString::number(list[k]);
    grd->setValues(values);
}

void GridPage::commitEditor() { editor->commit(); }

void GridPage::discardEditor() { editor->discard(); }

}  // namespace vormgui
