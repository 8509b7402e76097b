#include "FormPlotFrequency.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QValueAxis>
#include <algorithm>

#include "ReportWindows.h"
#include "platform/Services.h"
#include "widgets/Twips.h"

namespace vormgui {

namespace {

const QString kReport = QStringLiteral("FT06F001");
// A value axis' own number of ticks before nice numbers adjust it.
constexpr int kTicks = 5;

QFont smallFont() {
    QFont font;
    font.setPointSize(8);
    return font;
}

// The counts over the bars.
QFont countFont(const QWidget& window) {
    QFont font = window.font();
    font.setPointSize(10);
    return font;
}

// Bars stand side by side over this share of the chart's width.
constexpr double kBarsWidth = 0.9;

QPushButton* button(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setGeometry(twips(*parent, x), twips(*parent, y), twips(*parent, 975), twips(*parent, 375));
    return b;
}

}  // namespace

FormPlotFrequency::FormPlotFrequency(Services& services, const AppPaths& paths, QWidget* parent)
    : QDialog(parent),
      services_(services),
      paths_(paths),
      chart_(new QChart),
      caption_(new QBarCategoryAxis),
      counts_(new QValueAxis) {
    setObjectName(QStringLiteral("FormPlotFrequency"));
    setWindowTitle(QStringLiteral("Response Frequency"));
    setFixedSize(twips(*this, 6600), twips(*this, 4980));

    chart_->setAnimationOptions(QChart::NoAnimation);
    // The window is small: narrow margins and a small legend leave the bars
    // and the caption under them their room.
    chart_->setMargins(QMargins(2, 8, 2, 2));
    chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->legend()->setFont(smallFont());
    // The two axes stay with the chart for its whole life and only change
    // their texts and range: axes taken off a chart whose window is hidden
    // stay drawn under the new ones once it is shown again.
    //
    // The data row's label is the caption under the bars.  It stands as the
    // axis title, which may take the axis' whole length where a single
    // category's label gets only half of it.
    caption_->append(QStringLiteral(" "));
    chart_->addAxis(caption_, Qt::AlignBottom);
    counts_->setTitleText(QStringLiteral("Frequency"));
    counts_->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(counts_, Qt::AlignLeft);
    MSChartResponseFrequency = new QChartView(chart_, this);
    MSChartResponseFrequency->setObjectName(QStringLiteral("MSChartResponseFrequency"));
    MSChartResponseFrequency->setRenderHint(QPainter::Antialiasing);
    MSChartResponseFrequency->setGeometry(twips(*this, 120), 0, twips(*this, 6375), twips(*this, 4575));
    // Whether the counts fit across their bars is known once the chart has
    // laid out its plot area, which it does again when it is shown.
    connect(chart_, &QChart::plotAreaChanged, this, &FormPlotFrequency::fitCounts);

    CommandPrevious = button(this, "CommandPrevious", "Previous", 3240, 4560);
    CommandNext = button(this, "CommandNext", "Next", 4320, 4560);
    CommandPrint = button(this, "CommandPrint", "Print", 5400, 4560);
    connect(CommandPrevious, &QPushButton::clicked, this, &FormPlotFrequency::CommandPrevious_Click);
    connect(CommandNext, &QPushButton::clicked, this, &FormPlotFrequency::CommandNext_Click);
    connect(CommandPrint, &QPushButton::clicked, this, &FormPlotFrequency::CommandPrint_Click);
}

FormPlotFrequency::~FormPlotFrequency() = default;

void FormPlotFrequency::failed(const QString& text) {
    services_.message(text, QString(), MsgIcon::Critical, MsgButtons::Ok);
}

bool FormPlotFrequency::Form_Load() {
    QByteArray report;
    if (!readWorkOutput(services_, paths_, kReport, report)) return false;

    const QString path = paths_.workFile(kReport);
    const FrequencyRead read = readFrequencyTable(std::string_view(report.constData(), report.size()));
    const QString field = QString::fromStdString(read.faultField);
    switch (read.fault) {
        case FrequencyFault::None:
            break;
        case FrequencyFault::NotExpected:
            failed(QStringLiteral("Tempfile FT06F001 not as expected format!"));
            return false;
        case FrequencyFault::NotANumber:
        case FrequencyFault::TooLarge:
        case FrequencyFault::Overflow: {
            // The file is there, but a field of the table cannot be read:
            // stars stand where the engine had no room for a number.
            const QString where = read.faultItem != 0
                                      ? QStringLiteral("a count of item %1").arg(read.faultItem)
                                      : QStringLiteral("the number of the item in row %1").arg(read.faultRow);
            const QString why =
                read.fault == FrequencyFault::Overflow   ? QStringLiteral("the number did not fit in its field")
                : read.fault == FrequencyFault::TooLarge ? QStringLiteral("the number is too large to be read")
                                                         : QStringLiteral("that is not a number");
            failed(QStringLiteral("The response frequency table in %1 shows %2 as \"%3\": %4, so the counts cannot be "
                                  "read.")
                       .arg(path, where, field, why));
            return false;
        }
        case FrequencyFault::NoItems:
            failed(QStringLiteral("The response frequency table in %1 lists no item.").arg(path));
            return false;
    }
    table_ = read.table;
    drawFrequencyChart(1);
    return true;
}

void FormPlotFrequency::drawFrequencyChart(int row) {
    const FrequencyRow& shown = table_.rows.at(static_cast<std::size_t>(row - 1));
    // Nothing is on show while the chart changes under it.
    itemOnShow_ = 0;
    chart_->removeAllSeries();

    // One bar per category, each a series of its own so that the legend
    // names the categories as the report labels them.
    const Fit fit = fitFor(shown);
    auto* series = new QBarSeries;
    const QFont labelFont = countFont(*this);
    for (int column = 1; column <= table_.bars(); ++column) {
        auto* bar = new QBarSet(QStringLiteral("Response %1").arg(column));
        bar->append(shown.values.at(static_cast<std::size_t>(column - 1)));
        bar->setLabelFont(labelFont);
        bar->setLabelColor(Qt::black);
        series->append(bar);
    }
    series->setBarWidth(kBarsWidth);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsAngle(fit.upright ? -90.0 : 0.0);
    chart_->addSeries(series);
    series->attachAxis(caption_);
    series->attachAxis(counts_);

    caption_->setTitleText(QStringLiteral("Response Frequency of Item #%1").arg(shown.item));
    setCountsRange(fit);
    itemOnShow_ = row;
}

FormPlotFrequency::Fit FormPlotFrequency::fitFor(const FrequencyRow& row) const {
    const QFontMetricsF metrics(countFont(*this));
    double widest = 0.0, highest = 0.0;
    for (int column = 1; column <= table_.bars(); ++column) {
        const int count = row.values.at(static_cast<std::size_t>(column - 1));
        widest = std::max(widest, metrics.horizontalAdvance(QString::number(count)));
        highest = std::max(highest, double(count));
    }
    Fit fit{false, highest * 1.15};
    const QRectF area = chart_->plotArea();
    if (area.width() > 0 && area.height() > 0) {
        // A count wider than its bar would run into its neighbours'
        // ("12121210"): then the counts stand upright over their bars.
        const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
        fit.upright = widest + gap > area.width() * kBarsWidth / double(table_.bars());
        // The value axis leaves room above the highest bar for its count.
        const double room = (fit.upright ? widest : metrics.height()) + gap;
        fit.top = room < area.height() / 2 ? highest * area.height() / (area.height() - room) : 2 * highest;
    }
    fit.top = std::max(1.0, fit.top);
    return fit;
}

void FormPlotFrequency::setCountsRange(const Fit& fit) {
    fitted_ = fit;
    // The nice numbers depend on the tick count that the last item left, so
    // it starts afresh.
    counts_->setTickCount(kTicks);
    counts_->setRange(0, fit.top);
    counts_->applyNiceNumbers();
}

void FormPlotFrequency::fitCounts() {
    if (itemOnShow_ < 1) return;
    const Fit fit = fitFor(table_.rows.at(static_cast<std::size_t>(itemOnShow_ - 1)));
    // A new range lays the chart out again; the same fit ends it there.
    if (fit.upright == fitted_.upright && fit.top == fitted_.top) return;
    if (fit.upright == fitted_.upright) {
        setCountsRange(fit);
        return;
    }
    // The chart turns counts upright but never back: the bars are made anew
    // with their counts laid as they fit now, once the chart has finished
    // laying itself out.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (itemOnShow_ > 0) drawFrequencyChart(itemOnShow_);
        },
        Qt::QueuedConnection);
}

void FormPlotFrequency::CommandNext_Click() {
    if (itemOnShow_ < static_cast<int>(table_.rows.size()))
        drawFrequencyChart(itemOnShow_ + 1);
    else
        services_.message(QStringLiteral("You are at the last item in the list. There are no further items."),
                          QStringLiteral("No Next Item"), MsgIcon::Exclamation, MsgButtons::Ok);
}

void FormPlotFrequency::CommandPrevious_Click() {
    if (itemOnShow_ > 1)
        drawFrequencyChart(itemOnShow_ - 1);
    else
        services_.message(QStringLiteral("You are at the first item in the list. There are no previous items."),
                          QStringLiteral("No Previous Item"), MsgIcon::Exclamation, MsgButtons::Ok);
}

void FormPlotFrequency::CommandPrint_Click() {
    if (!services_.choosePrinter()) return;
    // The printout is the window as it stands, chart and caption, without
    // the buttons; they come back whether the printing worked or not.
    const QList<QPushButton*> buttons = {CommandPrevious, CommandNext, CommandPrint};
    for (QPushButton* b : buttons) b->hide();
    const bool printed = services_.print(windowTitle(), [this](QPrinter& printer) {
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        // At its size on the screen, from the top left of the printable area;
        // drawn at the printer's resolution rather than copied from the screen.
        const double scale = double(printer.resolution()) / logicalDpiX();
        painter.scale(scale, scale);
        render(&painter);
        return painter.end();
    });
    for (QPushButton* b : buttons) b->show();
    if (printed)
        services_.message(QStringLiteral("Print Job Done."), QStringLiteral("Printer"), MsgIcon::Information,
                          MsgButtons::Ok);
}

}  // namespace vormgui
