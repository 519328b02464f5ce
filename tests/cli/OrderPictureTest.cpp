// The picture of the numbering order: well-formed whatever the names hold, every changed part
// labelled at its place, the lines in number order, and each element in its group.

#include <gtest/gtest.h>

#include <regex>

#include "cli/DisplayText.h"
#include "cli/OrderPicture.h"
#include "platform/Cp932.h"

namespace wemb {
namespace {

// The elements without their attributes, with their texts; on the way it checks what a name
// could break: tags nest and close, no text holds a bare < or >, and every & starts an entity.
std::string skeleton(const std::string& svg) {
    EXPECT_FALSE(std::regex_search(svg, std::regex(R"(&(?!(amp|lt|gt|quot|apos);))")));
    static const std::regex kTag(R"(<(/?)([a-z?][^\s>/]*)[^<>]*?(/?)>)");
    std::string shape;
    std::vector<std::string> open;
    std::size_t end = 0;
    for (std::sregex_iterator it(svg.begin(), svg.end(), kTag), last; it != last; ++it) {
        const std::smatch& tag = *it;
        const std::string text = svg.substr(end, tag.position() - end);
        EXPECT_EQ(text.find_first_of("<>"), std::string::npos) << text;
        shape += text == "\n" ? "" : text;
        end = tag.position() + tag.length();
        if (tag[1] == "/") {
            EXPECT_TRUE(!open.empty() && open.back() == tag[2]) << tag[2];
            open.resize(open.empty() ? 0 : open.size() - 1);
        } else if (tag[3] != "/" && tag[2] != "?xml") {
            open.push_back(tag[2]);
        }
        if (tag[2] != "?xml") {
            shape.append("<").append(tag[1].str() + tag[2].str() + tag[3].str()).append(">");
        }
    }
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(svg.find_first_not_of(" \n", end), std::string::npos);
    return shape;
}

PartRow row(int sheet, std::int32_t x, std::int32_t y, std::string oldReference,
            std::string newReference, std::string partName = "10k") {
    return {sheet, x, y, partName, "R", std::move(oldReference), std::move(newReference), 0, 0};
}

// A label of a changed part: its text at the part's place (sheets 5000 apart).
bool labelledAt(const std::string& svg, const PartRow& part) {
    const std::string x = "<text x=\"" + std::to_string(part.x + part.sheet * 5000) + "\"";
    std::string label = ">";
    for (const char c : cli::displayText(part.newReference)) {
        const std::string_view entities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
        const std::size_t special = std::string_view("&<>\"'").find(c);
        label += special == std::string_view::npos ? std::string(1, c) : entities[special];
    }
    label += "</text>";
    for (auto at = svg.find(x); at != std::string::npos; at = svg.find(x, at + 1)) {
        if (svg.compare(svg.find('>', at), label.size(), label) == 0) {
            return true;
        }
    }
    return false;
}

TEST(OrderPicture, IsWellFormedAndLabelsEveryChangedPart) {
    const std::string japanese = *platform::utf8ToCp932("抵抗");
    const std::string controls(
        "R\0\x1F"
        "1",
        4);
    const struct {
        const char* name;
        std::vector<PartRow> parts;
    } cases[] = {
        {"no parts", {}},
        {"sheets side by side",
         {row(0, 100, 100, "R9", "R1"), row(1, 100, 100, "R", "R2"),
          row(2, 4900, -300, "C", "C1")}},
        {"names that XML gives a meaning to",
         {row(0, 10, 10, "A&B", "<R>1", "\"q\" & 'a'"), row(0, 90, 10, "R]]>", "R&2", "</svg>")}},
        {"control and unconvertible bytes",
         {row(0, 10, 10, "R", controls, "\x01\xFD\x81"), row(0, 20, 10, "R",
                                                             "\x7F"
                                                             "2",
                                                             "\x0B")}},
        {"Japanese", {row(0, 50, 50, japanese, japanese + "1", japanese)}},
        {"parts far outside the sheet band",
         {row(0, -32768, -32768, "R", "R1"), row(0, 32767, 32767, "R", "R2")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string svg = cli::orderPictureSvg("order of \"a&b\".CE2", c.parts);
        EXPECT_FALSE(skeleton(svg).empty());
        for (const PartRow& part : c.parts) {
            EXPECT_TRUE(labelledAt(svg, part)) << part.newReference;
        }
    }
}

TEST(OrderPicture, ShowsTheLegendSheetsLinesAndPartsEachInTheirGroup) {
    const std::string svg =
        cli::orderPictureSvg("t", {row(0, 300, 0, "R", "R1"), row(1, 100, 0, "R2", "R2")});
    EXPECT_NE(svg.find("viewBox=\"-88 "), std::string::npos) << "no margin left of sheet 1";
    EXPECT_EQ(svg.find("height=\"-"), std::string::npos) << "a box of no height";
    EXPECT_EQ(skeleton(svg),
              "<svg><g><rect/><g><text>t</text><text>Each line runs through the parts of one "
              "prefix in the order of their new numbers, from the ring onward. Grey: "
              "unchanged.</text><circle/><text>unchanged (1)</text><line/><circle/><text>R: 2 "
              "parts, 1 changed</text></g><g><rect/><text>sheet 1</text><rect/><text>sheet "
              "2</text></g><g><g><title>R: numbering order</title><polyline/><circle/></g></g><g>"
              "<g><title>R2 → R2, block 0 → 0, 10k (R), sheet 2 at 100, 0</title><circle/><text>"
              "R2</text></g><g><title>R → R1, block 0 → 0, 10k (R), sheet 1 at 300, 0</title>"
              "<circle/><text>R1</text></g></g></g></svg>");
}

TEST(OrderPicture, DrawsOneOrderLinePerPrefixInNumberOrder) {
    // Numbered right to left: the line must follow the numbers, not the positions.
    const std::string svg = cli::orderPictureSvg(
        "t", {row(0, 300, 0, "R", "R1"), row(0, 200, 0, "R", "R2"), row(0, 100, 0, "R", "R3"),
              row(0, 100, 500, "C", "C1"), row(0, 300, 500, "C", "C2"),
              row(0, 200, 900, "GND", "GND")});  // no number: on no line
    std::vector<std::string> points;
    const std::regex kPoints(R"r(<polyline points="([^"]*)")r");
    for (std::sregex_iterator it(svg.begin(), svg.end(), kPoints), last; it != last; ++it) {
        points.push_back((*it)[1]);
    }
    EXPECT_EQ(points, (std::vector<std::string>{"100,500 300,500", "300,0 200,0 100,0"}));
}

TEST(OrderPicture, LabelsOfADenseSheetDoNotPileUp) {
    // 500 parts on a grid, 60 apart across and 40 down: a label must fit its cell.
    std::vector<PartRow> parts;
    for (int i = 0; i < 500; ++i) {
        parts.push_back(row(0, 100 + (i % 25) * 60, 100 + (i / 25) * 40, "R",
                            std::string("R").append(std::to_string(i + 100))));
    }
    const std::string svg = cli::orderPictureSvg("t", parts);
    std::smatch size;
    ASSERT_TRUE(std::regex_search(svg, size, std::regex(R"r(id="parts" font-size="([0-9.]+)")r")));
    EXPECT_LE(4 * 0.6 * std::stod(size[1]), 60.0);  // "R123" across
    EXPECT_LE(1.2 * std::stod(size[1]), 40.0);      // one line down
    EXPECT_GE(std::stod(size[1]), 20.0);            // and not needlessly small
}

}  // namespace
}  // namespace wemb
