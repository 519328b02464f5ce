#include "cli/SvgWriter.h"

#include <cmath>
#include <cstdio>

namespace wemb::cli {

std::string xmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string svgNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

SvgWriter::SvgWriter(double minX, double minY, double width, double height, double pixelWidth,
                     double pixelHeight) {
    text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                 {"width", svgNumber(pixelWidth)},
                 {"height", svgNumber(pixelHeight)},
                 {"viewBox", svgNumber(minX) + ' ' + svgNumber(minY) + ' ' + svgNumber(width) +
                                 ' ' + svgNumber(height)}});
}

void SvgWriter::startTag(std::string_view element, const Attributes& attributes) {
    text_ += '<';
    text_ += element;
    for (const auto& [name, value] : attributes) {
        text_ += ' ';
        text_ += name;
        text_ += "=\"";
        text_ += xmlEscaped(value);
        text_ += '"';
    }
}

SvgWriter& SvgWriter::open(std::string_view element, const Attributes& attributes) {
    startTag(element, attributes);
    text_ += ">\n";
    open_.emplace_back(element);
    return *this;
}

SvgWriter& SvgWriter::close() {
    if (!open_.empty()) {
        text_ += "</" + open_.back() + ">\n";
        open_.pop_back();
    }
    return *this;
}

SvgWriter& SvgWriter::leaf(std::string_view element, const Attributes& attributes) {
    startTag(element, attributes);
    text_ += "/>\n";
    return *this;
}

SvgWriter& SvgWriter::textElement(std::string_view element, const Attributes& attributes,
                                  std::string_view text) {
    startTag(element, attributes);
    text_ += '>';
    text_ += xmlEscaped(text);
    text_ += "</";
    text_ += element;
    text_ += ">\n";
    return *this;
}

std::string SvgWriter::finish() {
    while (!open_.empty()) {
        close();
    }
    return text_;
}

}  // namespace wemb::cli
