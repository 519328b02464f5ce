#include "cli/OrderPicture.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "cli/ChangeReport.h"
#include "cli/DisplayText.h"
#include "cli/OutputFile.h"
#include "cli/SvgWriter.h"
#include "numbering/LibraryNameClass.h"
#include "numbering/ReferenceField.h"
#include "platform/Paths.h"
#include "schematic/Document.h"

namespace wemb::cli {
namespace {

// A sheet band of 5000 units is shown 1600 pixels wide.
constexpr double kPixelsPerUnit = 0.32;
// Label sizes in drawing units: never so large that a sparse drawing shouts, never so small
// that a dense one cannot be read by zooming in.
constexpr double kMaxLabelSize = 40;
constexpr double kMinLabelSize = 4;
constexpr double kLegendSize = 44;
constexpr double kLineHeight = 1.2;  // of a label, in its font size
constexpr std::string_view kGrey = "#9a9a9a";
constexpr std::array<std::string_view, 10> kPalette = {
    "#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
    "#17becf", "#8c564b", "#e377c2", "#bcbd22", "#393b79",
};

struct PlacedPart {
    const PartRow* row = nullptr;
    double x = 0;  // across all sheets, as the position order sees it
    double y = 0;
    bool changed = false;
    std::string label;      // the new reference, ready to show
    double labelWidth = 0;  // in font sizes
    bool onOrderLine = false;
    std::string prefix;  // of the new reference
    int number = 0;
};

// Roughly how wide a label runs: full-width characters take about one font size, others 0.6.
double widthInFontSizes(std::string_view utf8) {
    double width = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            width += 0.6;
        } else if (byte >= 0xC0) {
            width += byte >= 0xE0 ? 1.0 : 0.6;
        }
    }
    return std::max(width, 0.6);
}

PlacedPart placed(const PartRow& row) {
    PlacedPart part;
    part.row = &row;
    part.x = row.x + static_cast<double>(row.sheet) * kSheetXOffset;
    part.y = row.y;
    part.changed = row.oldReference != row.newReference || row.oldBlock != row.newBlock;
    part.label = displayText(row.newReference);
    part.labelWidth = widthInFontSizes(part.label);
    // Power symbols keep whatever they hold; a reference without a number has no place in an
    // order.
    part.onOrderLine = endsWithDigit(row.newReference) &&
                       classifyLibraryName(row.libraryName) != LibraryNameClass::Power;
    const ReferenceSplit split = splitReference(row.newReference);
    part.prefix = row.newReference.substr(0, split.prefixLength);
    part.number = split.number;
    return part;
}

struct Bounds {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    int sheets = 1;
};

Bounds boundsOf(const std::vector<PlacedPart>& parts) {
    Bounds bounds;
    for (const PlacedPart& part : parts) {
        bounds.sheets = std::max(bounds.sheets, part.row->sheet + 1);
    }
    bounds.maxX = static_cast<double>(bounds.sheets) * kSheetXOffset;
    bounds.maxY = parts.empty() ? kSheetXOffset * 0.7 : parts.front().y;
    bounds.minY = parts.empty() ? 0 : parts.front().y;
    for (const PlacedPart& part : parts) {
        bounds.minX = std::min(bounds.minX, part.x);
        bounds.maxX = std::max(bounds.maxX, part.x);
        bounds.minY = std::min(bounds.minY, part.y);
        bounds.maxY = std::max(bounds.maxY, part.y);
    }
    return bounds;
}

// The largest size at which the label of `parts[k]` clears the labels of all others; `byX`
// orders the parts from left to right.
double clearSize(const std::vector<PlacedPart>& parts, const std::vector<std::size_t>& byX,
                 std::size_t k, double widest) {
    const PlacedPart& self = parts[byX[k]];
    double best = kMaxLabelSize;
    for (const int direction : {-1, 1}) {
        for (std::ptrdiff_t j = static_cast<std::ptrdiff_t>(k) + direction;
             j >= 0 && j < static_cast<std::ptrdiff_t>(byX.size()); j += direction) {
            const PlacedPart& other = parts[byX[static_cast<std::size_t>(j)]];
            const double dx = std::abs(other.x - self.x);
            if (dx / widest >= best) {
                break;  // every part further out is further apart still
            }
            const double dy = std::abs(other.y - self.y);
            const double fits =
                std::max(dx / ((self.labelWidth + other.labelWidth) / 2), dy / kLineHeight);
            best = std::min(best, fits);
        }
    }
    return best;
}

// One size for every label, such that three labels in four stand clear of all others: dense
// corners get small labels rather than a blot, and the rest stay readable.
double labelSize(const std::vector<PlacedPart>& parts) {
    if (parts.size() < 2) {
        return kMaxLabelSize;
    }
    std::vector<std::size_t> byX(parts.size());
    for (std::size_t i = 0; i < byX.size(); ++i) {
        byX[i] = i;
    }
    std::sort(byX.begin(), byX.end(),
              [&](std::size_t a, std::size_t b) { return parts[a].x < parts[b].x; });
    double widest = 0.6;
    for (const PlacedPart& part : parts) {
        widest = std::max(widest, part.labelWidth);
    }
    std::vector<double> sizes;
    sizes.reserve(parts.size());
    for (std::size_t k = 0; k < byX.size(); ++k) {
        sizes.push_back(clearSize(parts, byX, k, widest));
    }
    const auto quarter = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 4);
    std::nth_element(sizes.begin(), quarter, sizes.end());
    return std::clamp(*quarter, kMinLabelSize, kMaxLabelSize);
}

// Every prefix that has an order line, byte order, with its colour.
std::map<std::string, std::string_view> prefixColours(const std::vector<PlacedPart>& parts) {
    std::map<std::string, std::string_view> colours;
    for (const PlacedPart& part : parts) {
        if (part.onOrderLine) {
            colours.emplace(part.prefix, std::string_view());
        }
    }
    std::size_t next = 0;
    for (auto& [prefix, colour] : colours) {
        colour = kPalette[next++ % kPalette.size()];
    }
    return colours;
}

// Per prefix, its parts in the order of their new numbers; the blocks of one package in block
// order, and parts that share a number in position order.
std::map<std::string, std::vector<const PlacedPart*>> orderLines(
    const std::vector<PlacedPart>& parts) {
    std::map<std::string, std::vector<const PlacedPart*>> lines;
    for (const PlacedPart& part : parts) {
        if (part.onOrderLine) {
            lines[part.prefix].push_back(&part);
        }
    }
    for (auto& [prefix, line] : lines) {
        std::stable_sort(line.begin(), line.end(), [](const PlacedPart* a, const PlacedPart* b) {
            return std::tuple(a->number, a->row->newBlock, a->x, a->y) <
                   std::tuple(b->number, b->row->newBlock, b->x, b->y);
        });
    }
    return lines;
}

struct Picture {
    std::vector<PlacedPart> parts;
    Bounds bounds;
    double labelSize = kMaxLabelSize;
    std::map<std::string, std::string_view> colours;
    // The legend above the sheets.
    double legendTop = 0;
    int legendColumns = 1;
    double legendEntryWidth = 0;
};

struct LegendEntry {
    std::string_view colour;
    bool line = false;
    std::string text;
};

std::vector<LegendEntry> legendEntries(const Picture& picture) {
    std::vector<LegendEntry> entries;
    std::map<std::string, std::pair<int, int>> counts;  // prefix: parts, changed
    int changed = 0;
    for (const PlacedPart& part : picture.parts) {
        changed += part.changed ? 1 : 0;
        if (part.onOrderLine) {
            auto& [all, changedHere] = counts[part.prefix];
            ++all;
            changedHere += part.changed ? 1 : 0;
        }
    }
    const int unchanged = static_cast<int>(picture.parts.size()) - changed;
    entries.push_back({kGrey, false, "unchanged (" + std::to_string(unchanged) + ")"});
    for (const auto& [prefix, colour] : picture.colours) {
        const auto& [all, changedHere] = counts[prefix];
        entries.push_back({colour, true,
                           displayText(prefix) + ": " + std::to_string(all) + " parts, " +
                               std::to_string(changedHere) + " changed"});
    }
    return entries;
}

double legendHeight(const Picture& picture, std::size_t entries) {
    const std::size_t columns = static_cast<std::size_t>(picture.legendColumns);
    const std::size_t rows = (entries + columns - 1) / columns;
    // The title line, a note line, then the entries.
    return kLegendSize * (1.6 * static_cast<double>(rows) + 4.2);
}

Picture layOut(const std::vector<PartRow>& rows) {
    Picture picture;
    picture.parts.reserve(rows.size());
    for (const PartRow& row : rows) {
        picture.parts.push_back(placed(row));
    }
    picture.bounds = boundsOf(picture.parts);
    picture.labelSize = labelSize(picture.parts);
    picture.colours = prefixColours(picture.parts);
    // Every entry as wide as the widest: its mark, its text and a gap.
    const std::vector<LegendEntry> entries = legendEntries(picture);
    double widest = 0;
    for (const LegendEntry& entry : entries) {
        widest = std::max(widest, widthInFontSizes(entry.text));
    }
    picture.legendEntryWidth = kLegendSize * (widest + 4);
    const double width = picture.bounds.maxX - picture.bounds.minX;
    picture.legendColumns = std::max(1, static_cast<int>(width / picture.legendEntryWidth));
    picture.legendTop =
        picture.bounds.minY - kLegendSize * 2 - legendHeight(picture, entries.size());
    return picture;
}

void drawSheets(SvgWriter& svg, const Picture& picture) {
    const Bounds& b = picture.bounds;
    const double top = b.minY - kLegendSize * 1.5;
    const double height = b.maxY - b.minY + kLegendSize * 2.5;
    svg.open("g", {{"id", "sheets"}, {"fill", "#fbfbfb"}, {"stroke", "#cccccc"}});
    for (int sheet = 0; sheet < b.sheets; ++sheet) {
        const double left = static_cast<double>(sheet) * kSheetXOffset;
        svg.leaf("rect", {{"x", svgNumber(left)},
                          {"y", svgNumber(top)},
                          {"width", svgNumber(kSheetXOffset)},
                          {"height", svgNumber(height)},
                          {"stroke-width", svgNumber(kLegendSize / 10)}});
        svg.textElement("text",
                        {{"x", svgNumber(left + kLegendSize / 2)},
                         {"y", svgNumber(top + kLegendSize)},
                         {"font-size", svgNumber(kLegendSize * 0.8)},
                         {"fill", "#888888"},
                         {"stroke", "none"}},
                        "sheet " + std::to_string(sheet + 1));
    }
    svg.close();
}

std::string pointsOf(const std::vector<const PlacedPart*>& line) {
    std::string points;
    for (const PlacedPart* part : line) {
        if (!points.empty()) {
            points += ' ';
        }
        points += svgNumber(part->x) + ',' + svgNumber(part->y);
    }
    return points;
}

void drawOrderLines(SvgWriter& svg, const Picture& picture) {
    const double stroke = std::max(picture.labelSize * 0.08, 0.5);
    svg.open("g", {{"id", "order"}, {"fill", "none"}, {"stroke-opacity", "0.55"}});
    for (const auto& [prefix, line] : orderLines(picture.parts)) {
        const std::string colour(picture.colours.at(prefix));
        svg.open("g", {{"stroke", colour}});
        svg.textElement("title", {}, displayText(prefix) + ": numbering order");
        if (line.size() > 1) {
            svg.leaf("polyline", {{"points", pointsOf(line)},
                                  {"stroke-width", svgNumber(stroke)},
                                  {"stroke-linejoin", "round"}});
        }
        // A ring where the prefix's numbers begin.
        svg.leaf("circle", {{"cx", svgNumber(line.front()->x)},
                            {"cy", svgNumber(line.front()->y)},
                            {"r", svgNumber(picture.labelSize * 0.5)},
                            {"stroke-width", svgNumber(stroke * 1.5)}});
        svg.close();
    }
    svg.close();
}

std::string partTitle(const PartRow& row) {
    std::string title = displayText(row.oldReference) + " \u2192 " + displayText(row.newReference);
    title += ", block " + std::to_string(row.oldBlock) + " \u2192 " + std::to_string(row.newBlock);
    title += ", " + displayText(row.partName) + " (" + displayText(row.libraryName) + ")";
    title += ", sheet " + std::to_string(row.sheet + 1) + " at " + std::to_string(row.x) + ", " +
             std::to_string(row.y);
    return title;
}

void drawPart(SvgWriter& svg, const Picture& picture, const PlacedPart& part) {
    const std::string colour(part.changed && part.onOrderLine ? picture.colours.at(part.prefix)
                             : part.changed                   ? std::string_view("#000000")
                                                              : kGrey);
    const double radius = picture.labelSize * 0.18;
    svg.open("g", {{"class", part.changed ? "part changed" : "part"}, {"fill", colour}});
    svg.textElement("title", {}, partTitle(*part.row));
    svg.leaf("circle",
             {{"cx", svgNumber(part.x)}, {"cy", svgNumber(part.y)}, {"r", svgNumber(radius)}});
    if (!part.label.empty()) {
        svg.textElement("text",
                        {{"x", svgNumber(part.x)},
                         {"y", svgNumber(part.y - radius - picture.labelSize * 0.2)},
                         {"text-anchor", "middle"}},
                        part.label);
    }
    svg.close();
}

void drawParts(SvgWriter& svg, const Picture& picture) {
    svg.open("g", {{"id", "parts"}, {"font-size", svgNumber(picture.labelSize)}});
    // Changed parts last, so that they stand on top of the grey ones.
    for (const bool changed : {false, true}) {
        for (const PlacedPart& part : picture.parts) {
            if (part.changed == changed) {
                drawPart(svg, picture, part);
            }
        }
    }
    svg.close();
}

void drawLegend(SvgWriter& svg, const Picture& picture, std::string_view title) {
    const std::vector<LegendEntry> entries = legendEntries(picture);
    const double left = picture.bounds.minX;
    double y = picture.legendTop + kLegendSize * 1.2;
    svg.open("g", {{"id", "legend"}, {"font-size", svgNumber(kLegendSize)}});
    svg.textElement(
        "text",
        {{"x", svgNumber(left)}, {"y", svgNumber(y)}, {"font-size", svgNumber(kLegendSize * 1.3)}},
        std::string(title));
    y += kLegendSize * 1.5;
    svg.textElement("text", {{"x", svgNumber(left)}, {"y", svgNumber(y)}, {"fill", "#555555"}},
                    "Each line runs through the parts of one prefix in the order of their new "
                    "numbers, from the ring onward. Grey: unchanged.");
    y += kLegendSize * 1.2;
    const auto columns = static_cast<std::size_t>(picture.legendColumns);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = left + static_cast<double>(i % columns) * picture.legendEntryWidth;
        const double rowY = y + static_cast<double>(i / columns) * kLegendSize * 1.6;
        const std::string colour(entries[i].colour);
        if (entries[i].line) {
            svg.leaf("line", {{"x1", svgNumber(x)},
                              {"y1", svgNumber(rowY)},
                              {"x2", svgNumber(x + kLegendSize * 1.6)},
                              {"y2", svgNumber(rowY)},
                              {"stroke", colour},
                              {"stroke-width", svgNumber(kLegendSize / 8)}});
        }
        svg.leaf("circle", {{"cx", svgNumber(x + kLegendSize * 0.8)},
                            {"cy", svgNumber(rowY)},
                            {"r", svgNumber(kLegendSize / 4)},
                            {"fill", colour}});
        svg.textElement("text",
                        {{"x", svgNumber(x + kLegendSize * 2)},
                         {"y", svgNumber(rowY + kLegendSize * 0.35)},
                         {"fill", colour}},
                        entries[i].text);
    }
    svg.close();
}

}  // namespace

std::string orderPictureSvg(std::string_view title, const std::vector<PartRow>& parts) {
    const Picture picture = layOut(parts);
    const Bounds& b = picture.bounds;
    const double margin = kLegendSize * 2;
    const double minX = b.minX - margin;
    const double minY = picture.legendTop - margin / 2;
    const double width = b.maxX - b.minX + 2 * margin;
    const double height = b.maxY + margin * 1.5 - minY;
    SvgWriter svg(minX, minY, width, height, width * kPixelsPerUnit, height * kPixelsPerUnit);
    svg.open("g", {{"font-family", "sans-serif"}});
    svg.leaf("rect", {{"x", svgNumber(minX)},
                      {"y", svgNumber(minY)},
                      {"width", svgNumber(width)},
                      {"height", svgNumber(height)},
                      {"fill", "#ffffff"}});
    drawLegend(svg, picture, title);
    drawSheets(svg, picture);
    drawOrderLines(svg, picture);
    drawParts(svg, picture);
    return svg.finish();
}

bool writeOrderPicture(const CliOptions& options, const JobReport& report) {
    const std::vector<PartRow>& parts = report.parts.empty() ? report.changes : report.parts;
    const std::string title =
        "Numbering order of " + displayName(platform::fileNameOf(options.file));
    return writeReportFile(options.svgPath, orderPictureSvg(title, parts), options.file);
}

}  // namespace wemb::cli
