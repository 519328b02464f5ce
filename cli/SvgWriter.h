#pragma once
// A small writer of SVG documents: elements opened and closed in order, attribute values and
// text content always escaped. Texts must be UTF-8 without control characters (see
// DisplayText.h); numbers are written with at most two decimals.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wemb::cli {

// `text` with the five characters that XML gives a meaning to written as entities.
std::string xmlEscaped(std::string_view text);

// `value` with up to two decimals and no trailing zeros: 12, 12.5, -0.25.
std::string svgNumber(double value);

class SvgWriter {
  public:
    using Attributes = std::vector<std::pair<std::string_view, std::string>>;

    // The <svg> root: `viewBox` in drawing units, shown `pixelWidth` by `pixelHeight`.
    SvgWriter(double minX, double minY, double width, double height, double pixelWidth,
              double pixelHeight);

    SvgWriter& open(std::string_view element, const Attributes& attributes = {});
    SvgWriter& close();
    // An element with no content.
    SvgWriter& leaf(std::string_view element, const Attributes& attributes);
    // An element holding only `text`.
    SvgWriter& textElement(std::string_view element, const Attributes& attributes,
                           std::string_view text);

    // Closes every open element and returns the document.
    std::string finish();

  private:
    void startTag(std::string_view element, const Attributes& attributes);

    std::string text_;
    std::vector<std::string> open_;
};

}  // namespace wemb::cli
