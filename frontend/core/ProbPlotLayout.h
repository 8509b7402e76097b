// The category probability plot: every data column after the first is a
// category's curve in its own colour, line style and width, named in a
// legend box at the right ("z0", "z1", ...).  Unlike the script renderer it
// ignores the plot line, draws on whole-number ranges in a narrower frame
// (left 125, right 800, top 200, bottom 875) and puts a y tick every 0.1.
#pragma once

#include <optional>

#include "PlotLayout.h"

namespace vormgui::plot {

struct WholeRanges {
    int xMin = 0, xMax = 0;
    int yMin = 0;
    double yMax = 0.0;
};

// A range of the script taken to the nearest whole numbers, halves to the
// even one; nullopt outside -32768..32767.
std::optional<std::pair<int, int>> wholeRange(Range range);

// How category `category` (0..9) is drawn: its colour, and a line pen or a
// dot pen (`dots`) of that colour.
struct CategoryStyle {
    Pen pen;
    bool dots = false;
};
CategoryStyle categoryStyle(int category);

// The titles and labels come from `script`; its plot line is not read.
Layout layoutProbPlot(const DataTable& data, const PlotScript& script, const WholeRanges& ranges,
                      const TextMetrics& metrics);

}  // namespace vormgui::plot
