// kalmor measure on a spinning emulated drive, and its plot checked as a document: the panels,
// one point per sample in each, the fitted model's two parts, everything inside the axes.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <regex>
#include <sstream>

#include "cli/CliRun.h"

namespace {

struct Point {
    double x, y;
};

std::vector<Point> Points(const std::string& text, const std::regex& pattern)
{
    std::vector<Point> points;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        points.push_back({std::stod((*it)[1]), std::stod((*it)[2])});
    return points;
}

// The part of the document inside <g id="name"> ... up to the next panel or the end.
std::string Panel(const std::string& svg, const std::string& name)
{
    const size_t start = svg.find("<g id=\"" + name + "\">");
    if (start == std::string::npos) return "";
    const size_t next = svg.find("<g id=\"", start + 1);
    return svg.substr(start, next == std::string::npos ? std::string::npos : next - start);
}

TEST(CliMeasureTest, MeasuresEveryStepAndPlotsTheFittedModel)
{
    CliRun cli;
    const std::string plot = cli.Folder() + "/plot.svg";
    const CliResult result =
        cli.Run({"--emulate", TestScenario("measured.json"), "--json", "measure", "0", "--plot", plot});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json["steps"].size(), 1u);
    EXPECT_EQ(json["steps"][0]["speed"], 24);
    // Real time on a loaded machine moves the figures a little: 16x inside, 24x from the middle.
    const std::string resultText = json["steps"][0]["result"];
    EXPECT_TRUE(std::regex_match(resultText, std::regex(R"(1[56]\.\dx-2[34]\.\dx/PCAV)"))) << resultText;
    const int samples = json["steps"][0]["samples"];
    EXPECT_GE(samples, 5);
    EXPECT_EQ(json["lines"], nlohmann::json::parse(
                                 R"([" EMULATED MEASURED :  the test CD should have as many sectors as possible",
                                     " EMULATED MEASURED :  measuring speed 24x",
                                     " EMULATED MEASURED :   -> )" + resultText + R"(", " Done."])"));
    // Stored as the measurement window stores it.
    EXPECT_NE(cli.Store().find("\"Speed_1_data\"=\"" + resultText + "\""), std::string::npos);
    EXPECT_NE(cli.Store().find("\"Speed_1_data_inf\"=\"s24/q74/z600/n16/i"), std::string::npos);

    std::ifstream file(plot);
    std::stringstream text;
    text << file.rdbuf();
    const std::string svg = text.str();
    ASSERT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800.00\" height=\"580.00\""),
              std::string::npos);
    EXPECT_NE(svg.find(">24x: " + resultText + "</text>"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");

    const std::regex circle("<circle cx=\"([0-9.]+)\" cy=\"([0-9.]+)\"");
    const std::regex polyline("<polyline class=\"model\"[^>]* points=\"([^\"]+)\"");
    const struct {
        const char* name;
        double top, bottom;
        bool flatAtEnd;  // the rate is constant on the outer part, the spindle speed on the inner
    } panels[] = {{"rate", 60, 280, true}, {"rpm", 320, 540, false}};
    for (const auto& p : panels) {
        SCOPED_TRACE(p.name);
        const std::string panel = Panel(svg, p.name);
        ASSERT_NE(panel.find("<g class=\"step\" data-speed=\"24\">"), std::string::npos);
        const std::vector<Point> points = Points(panel, circle);
        EXPECT_EQ(int(points.size()), samples);
        for (const Point& point : points) {
            EXPECT_TRUE(point.x >= 70 && point.x <= 780) << point.x;
            EXPECT_TRUE(point.y >= p.top && point.y <= p.bottom) << point.y;
        }
        std::smatch model;
        ASSERT_TRUE(std::regex_search(panel, model, polyline));
        const std::vector<Point> line = Points(model[1].str(), std::regex("([0-9.]+),([0-9.]+)"));
        ASSERT_EQ(line.size(), 81u);
        // The model's constant part holds its height; the other part moves.
        const Point& a = p.flatAtEnd ? line[78] : line[0];
        const Point& b = p.flatAtEnd ? line[80] : line[2];
        EXPECT_EQ(a.y, b.y);
        const Point& c = p.flatAtEnd ? line[0] : line[78];
        const Point& d = p.flatAtEnd ? line[10] : line[80];
        EXPECT_NE(c.y, d.y);
        for (const Point& point : line) EXPECT_TRUE(point.y >= p.top && point.y <= p.bottom) << point.y;
    }
}

}  // namespace
