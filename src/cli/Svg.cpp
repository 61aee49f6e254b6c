#include "cli/Svg.h"

#include <cstdio>

namespace cli {

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

}  // namespace

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

Svg::Svg(double width, double height) : width_(width), height_(height) {}

void Svg::Open(const std::string& element, const std::vector<std::pair<std::string, std::string>>& attributes)
{
    body_ += "<" + element;
    for (const auto& [name, value] : attributes) body_ += " " + name + "=\"" + Escaped(value) + "\"";
    body_ += ">\n";
}

void Svg::Close(const std::string& element) { body_ += "</" + element + ">\n"; }

void Svg::Line(double x1, double y1, double x2, double y2, const std::string& cssClass)
{
    body_ += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) + "\" y2=\"" +
             Number(y2) + "\" class=\"" + cssClass + "\"/>\n";
}

void Svg::Polyline(const std::vector<std::pair<double, double>>& points, const std::string& cssClass,
                   const std::string& colour)
{
    if (points.size() < 2) return;
    std::string list;
    for (const auto& [x, y] : points) list += (list.empty() ? "" : " ") + Number(x) + "," + Number(y);
    body_ += "<polyline class=\"" + cssClass + "\" stroke=\"" + colour + "\" points=\"" + list + "\"/>\n";
}

void Svg::Circle(double x, double y, double radius, const std::string& colour)
{
    body_ += "<circle cx=\"" + Number(x) + "\" cy=\"" + Number(y) + "\" r=\"" + Number(radius) + "\" fill=\"" +
             colour + "\"/>\n";
}

void Svg::Text(double x, double y, const std::string& text, const std::string& anchor, const std::string& cssClass)
{
    body_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\"" +
             (cssClass.empty() ? "" : " class=\"" + cssClass + "\"") + ">" + Escaped(text) + "</text>\n";
}

std::string Svg::Finish() const
{
    const std::string size = "width=\"" + Number(width_) + "\" height=\"" + Number(height_) + "\" viewBox=\"0 0 " +
                             Number(width_) + " " + Number(height_) + "\"";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" " + size + ">\n" +
           "<style>line.axis{stroke:#000}line.grid{stroke:#ddd}polyline{fill:none}polyline.measured{stroke-width:1}"
           "polyline.model{stroke-width:2;stroke-dasharray:6 3}text{font:11px sans-serif}"
           "text.title{font:bold 13px sans-serif}</style>\n" +
           body_ + "</svg>\n";
}

}  // namespace cli
