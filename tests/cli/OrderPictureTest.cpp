// The picture of the numbering order: it must be well-formed whatever the names hold, and every
// changed part must be labelled at its place.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "cli/DisplayText.h"
#include "cli/OrderPicture.h"
#include "platform/Cp932.h"

namespace wemb {
namespace {

// Well-formed as far as a name could break it: tags nest and close, no text holds a bare < or >,
// and every & starts an entity. Returns each element's name with its attributes and its text.
struct Element {
    std::string name, attributes, text;
};
std::vector<Element> elementsOf(const std::string& svg) {
    static const std::regex kTag(R"(<(/?)([a-z?!][^\s>/]*)([^<>]*?)/?>)");
    static const std::regex kBareAmpersand(R"(&(?!(amp|lt|gt|quot|apos);))");
    EXPECT_FALSE(std::regex_search(svg, kBareAmpersand));
    std::vector<Element> elements;
    std::vector<std::string> open;
    std::size_t end = 0;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), kTag); it != std::sregex_iterator();
         ++it) {
        const std::smatch& tag = *it;
        const std::string between = svg.substr(end, tag.position() - end);
        EXPECT_EQ(between.find_first_of("<>"), std::string::npos) << between;
        if (!elements.empty()) {
            elements.back().text += between;
        }
        end = tag.position() + tag.length();
        if (tag[1] == "/") {
            EXPECT_TRUE(!open.empty() && open.back() == tag[2]) << tag[2];
            if (!open.empty()) {
                open.pop_back();
            }
        } else if (tag.str().back() != '>' || tag.str()[tag.length() - 2] != '/') {
            if (tag[2].str()[0] != '?' && tag[2].str()[0] != '!') {
                open.push_back(tag[2]);
            }
        }
        elements.push_back({tag[2], tag[3], ""});
    }
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(svg.find_first_not_of(" \n", end), std::string::npos);
    return elements;
}

PartRow row(int sheet, std::int32_t x, std::int32_t y, std::string oldReference,
            std::string newReference, std::string partName = "10k") {
    return {sheet, x, y, partName, "R", std::move(oldReference), std::move(newReference), 0, 0};
}

// A label of a changed part: its text at the part's place (sheets 5000 apart).
bool labelledAt(const std::vector<Element>& elements, const PartRow& part) {
    const std::string x = "x=\"" + std::to_string(part.x + part.sheet * 5000) + "\"";
    std::string label;
    for (const char c : cli::displayText(part.newReference)) {
        const std::string_view entities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
        const std::size_t special = std::string_view("&<>\"'").find(c);
        label +=
            special == std::string_view::npos ? std::string(1, c) : std::string(entities[special]);
    }
    return std::any_of(elements.begin(), elements.end(), [&](const Element& e) {
        return e.name == "text" && e.text == label && e.attributes.find(x) != std::string::npos;
    });
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
        {"unchanged parts only", {row(0, 10, 10, "R1", "R1"), row(0, 30, 10, "GND", "GND")}},
        {"parts far outside the sheet band",
         {row(0, -32768, -32768, "R", "R1"), row(0, 32767, 32767, "R", "R2")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Element> elements =
            elementsOf(cli::orderPictureSvg("order of \"a&b\".CE2", c.parts));
        ASSERT_FALSE(elements.empty());
        for (const PartRow& part : c.parts) {
            if (part.oldReference != part.newReference) {
                EXPECT_TRUE(labelledAt(elements, part)) << part.newReference;
            }
        }
    }
}

TEST(OrderPicture, DrawsOneOrderLinePerPrefixInNumberOrder) {
    // Numbered right to left: the line must follow the numbers, not the positions.
    const std::vector<PartRow> parts = {
        row(0, 300, 0, "R", "R1"),   row(0, 200, 0, "R", "R2"),
        row(0, 100, 0, "R", "R3"),   row(0, 100, 500, "C", "C1"),
        row(0, 300, 500, "C", "C2"), row(0, 200, 900, "GND", "GND"),  // no number: on no line
    };
    std::vector<std::string> points;
    for (const Element& e : elementsOf(cli::orderPictureSvg("t", parts))) {
        const std::size_t at = e.attributes.find("points=\"");
        if (e.name == "polyline" && at != std::string::npos) {
            points.push_back(e.attributes.substr(at + 8, e.attributes.find('"', at + 8) - at - 8));
        }
    }
    EXPECT_EQ(points, (std::vector<std::string>{"100,500 300,500", "300,0 200,0 100,0"}));
}

TEST(OrderPicture, LabelsOfADenseSheetDoNotPileUp) {
    // 500 parts on a grid, 60 apart across and 40 down: a label must fit its cell.
    std::vector<PartRow> parts;
    for (int i = 0; i < 500; ++i) {
        std::string reference = std::to_string(i + 100);
        reference.insert(reference.begin(), 'R');
        parts.push_back(row(0, 100 + (i % 25) * 60, 100 + (i / 25) * 40, "R", reference));
    }
    const std::vector<Element> elements = elementsOf(cli::orderPictureSvg("t", parts));
    const std::regex fontSize("id=\"parts\".*font-size=\"([0-9.]+)\"");
    std::smatch size;
    for (const Element& e : elements) {
        if (e.name == "g" && std::regex_search(e.attributes, size, fontSize)) {
            break;
        }
    }
    ASSERT_FALSE(size.empty()) << "no group of parts with a font size";
    EXPECT_LE(4 * 0.6 * std::stod(size[1]), 60.0);  // "R123" across
    EXPECT_LE(1.2 * std::stod(size[1]), 40.0);      // one line down
    EXPECT_GE(std::stod(size[1]), 20.0);            // and not needlessly small
}

}  // namespace
}  // namespace wemb
