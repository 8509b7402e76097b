// The window "Response Frequency": item by item, a bar chart of how often
// each response category was given, from the frequency table of the report
// FT06F001.  Next and Previous step through the items; Print prints the
// window without its buttons.
#pragma once

#include <QDialog>

#include "core/FrequencyTable.h"
#include "platform/AppPaths.h"

class QBarCategoryAxis;
class QChart;
class QChartView;
class QPushButton;
class QValueAxis;

namespace vormgui {

class Services;

class FormPlotFrequency : public QDialog {
    Q_OBJECT
public:
    FormPlotFrequency(Services& services, const AppPaths& paths, QWidget* parent = nullptr);
    ~FormPlotFrequency() override;

    // Reads the table anew from the report and draws its first item; false,
    // after telling the user why, when the window is not to be shown.
    bool Form_Load();
    // Shows the item of table row `row` (1-based) and makes it the item on show.
    void drawFrequencyChart(int row);

    void CommandNext_Click();
    void CommandPrevious_Click();
    void CommandPrint_Click();

    // The row on show, 0 before the first drawing.
    int itemOnShow() const { return itemOnShow_; }

    QChartView* MSChartResponseFrequency;
    QPushButton* CommandPrevious;
    QPushButton* CommandNext;
    QPushButton* CommandPrint;

private:
    void failed(const QString& text);
    struct Fit {
        bool upright = false;  // the counts stand upright over their bars
        double top = 0.0;      // the value axis' top before nice numbers
    };
    // How the counts of `row` fit over the chart's plot area as it is laid
    // out now: across their bars where they do not run into each other,
    // else upright, with room above the highest bar.
    Fit fitFor(const FrequencyRow& row) const;
    void setCountsRange(const Fit& fit);
    // Lays the counts out again when the plot area changed.
    void fitCounts();

    Services& services_;
    AppPaths paths_;
    FrequencyTable table_;
    int itemOnShow_ = 0;
    QChart* chart_;
    QBarCategoryAxis* caption_;
    QValueAxis* counts_;
    Fit fitted_;
};

}  // namespace vormgui
