#pragma once
// A small SVG writer: elements appended in order, coordinates in user units.
#include <string>
#include <utility>
#include <vector>

namespace cli {

class Svg {
public:
    Svg(double width, double height);

    void Open(const std::string& element, const std::vector<std::pair<std::string, std::string>>& attributes);
    void Close(const std::string& element);
    void Line(double x1, double y1, double x2, double y2, const std::string& cssClass);
    // A polyline through the points; nothing for fewer than two.
    void Polyline(const std::vector<std::pair<double, double>>& points, const std::string& cssClass,
                  const std::string& colour);
    void Circle(double x, double y, double radius, const std::string& colour);
    // anchor: "start", "middle" or "end".
    void Text(double x, double y, const std::string& text, const std::string& anchor, const std::string& cssClass = "");
    // The document (Windows-1252 text; the caller converts it for the file).
    std::string Finish() const;

private:
    std::string body_;
    double width_;
    double height_;
};

// A coordinate with two decimals.
std::string Number(double value);

}  // namespace cli
