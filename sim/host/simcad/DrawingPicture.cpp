// Draws the drawing seen from above as SVG. All coordinates are worked out here in
// pixels (no SVG transforms), so that texts keep their size at any scale and the
// Y flip happens in one place, View::ToPixels.
#include "DrawingPicture.h"

#include "PartOutlines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace simcad {

namespace {

// Layout in pixels.
constexpr double MAX_VIEW_WIDTH = 800;
constexpr double MAX_VIEW_HEIGHT = 520;
constexpr double VIEW_PADDING = 48;  // room for labels that reach past the view
constexpr double TITLE_BAND = 44;
constexpr double LEGEND_BAND = 40;
constexpr double MIN_CANVAS_WIDTH = 760;  // the legend line fits
constexpr double MARKER_SIZE = 6;
constexpr double BALLOON_RADIUS = 10;
// In millimetres: the view is never smaller, so that one small part is not blown up.
constexpr double MIN_VIEW_EXTENT = 40;
constexpr double MIN_VIEW_MARGIN = 5;
constexpr double VIEW_MARGIN_SHARE = 0.12;

const char* const STYLE =
    "text{font-family:sans-serif;fill:#222}"
    ".title{font-size:16px;font-weight:bold}.legend{font-size:11px;fill:#555}"
    ".grid{stroke:#ececec;stroke-width:1}.axis{stroke:#cfcfcf;stroke-width:1}"
    ".gridlabel{font-size:9px;fill:#aaa}"
    ".body{fill:#d6e4f5;fill-opacity:0.6;stroke:#1f3b5b;stroke-width:1.2;fill-rule:evenodd}"
    ".marker{fill:none;stroke:#b03a2e;stroke-width:1.5}"
    ".designation{font-size:12px;text-anchor:middle}"
    ".balloon{fill:#fff;stroke:#1f3b5b;stroke-width:1.2}.leader{stroke:#1f3b5b;stroke-width:0.8}"
    ".position{font-size:11px;font-weight:bold;text-anchor:middle}";

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::abs(value) < 0.005 ? 0.0 : value);
    return text;
}

// A number as a person writes it: 40, 2.5, not 40.00, 2.50.
std::string ShortNumber(double value)
{
    std::string text = Number(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

// Text for XML: markup characters escaped; bytes above ASCII are taken as Latin-1
// (the host's strings are 8-bit), control characters become blanks.
std::string XmlText(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '&') escaped += "&amp;";
        else if (c == '<') escaped += "&lt;";
        else if (c == '>') escaped += "&gt;";
        else if (c == '"') escaped += "&quot;";
        else if (byte >= 0x80) escaped += "&#" + std::to_string(byte) + ";";
        else if (byte < 0x20) escaped += ' ';
        else escaped += c;
    }
    return escaped;
}

struct Bounds {
    bool empty = true;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    void Add(const PlanePoint& point)
    {
        minX = empty ? point.x : std::min(minX, point.x);
        maxX = empty ? point.x : std::max(maxX, point.x);
        minY = empty ? point.y : std::min(minY, point.y);
        maxY = empty ? point.y : std::max(maxY, point.y);
        empty = false;
    }
    void Join(const Bounds& other)
    {
        if (!other.empty) {
            Add({other.minX, other.minY});
            Add({other.maxX, other.maxY});
        }
    }
    double Width() const { return maxX - minX; }
    double Height() const { return maxY - minY; }
};

// One part as the picture shows it: its outlines, or a marker at its origin when
// it has no body to draw.
struct PartPicture {
    const DrawingPart* part = nullptr;
    int position = 0;
    std::vector<BodyOutline> outlines;
    PlanePoint origin;
    Bounds bounds;
};

PartPicture PictureOf(const DrawingPart& part, const PartsList& list)
{
    PartPicture picture;
    picture.part = &part;
    picture.position = list.PositionOf(part.id);
    picture.outlines = PartOutline(part);
    picture.origin = PartOrigin(part);
    for (const BodyOutline& outline : picture.outlines)
        for (const Loop& loop : outline.loops)
            for (const PlanePoint& point : loop)
                picture.bounds.Add(point);
    if (picture.outlines.empty())
        picture.bounds.Add(picture.origin);
    return picture;
}

// The part of the drawing that the picture shows, and where it lands in pixels.
struct View {
    Bounds world;
    double scale = 1;  // pixels per millimetre
    double left = 0;   // pixel of world.minX
    double top = 0;    // pixel of world.maxY
    double canvasWidth = 0;
    double canvasHeight = 0;

    PlanePoint ToPixels(const PlanePoint& point) const
    {
        return {left + (point.x - world.minX) * scale, top + (world.maxY - point.y) * scale};
    }
};

// Widens the parts' bounds by a margin and to the smallest extent, about its centre.
Bounds ViewedWorld(const Bounds& parts)
{
    double margin = std::max(MIN_VIEW_MARGIN, VIEW_MARGIN_SHARE * std::max(parts.Width(), parts.Height()));
    double width = std::max(parts.Width() + 2 * margin, MIN_VIEW_EXTENT);
    double height = std::max(parts.Height() + 2 * margin, MIN_VIEW_EXTENT);
    double centreX = (parts.minX + parts.maxX) / 2;
    double centreY = (parts.minY + parts.maxY) / 2;
    Bounds world;
    world.Add({centreX - width / 2, centreY - height / 2});
    world.Add({centreX + width / 2, centreY + height / 2});
    return world;
}

View ViewOf(const Bounds& parts)
{
    View view;
    view.world = ViewedWorld(parts);
    view.scale = std::min(MAX_VIEW_WIDTH / view.world.Width(), MAX_VIEW_HEIGHT / view.world.Height());
    double viewWidth = view.world.Width() * view.scale;
    double viewHeight = view.world.Height() * view.scale;
    view.canvasWidth = std::max(viewWidth + 2 * VIEW_PADDING, MIN_CANVAS_WIDTH);
    view.left = (view.canvasWidth - viewWidth) / 2;
    view.top = TITLE_BAND + VIEW_PADDING;
    view.canvasHeight = view.top + viewHeight + VIEW_PADDING + LEGEND_BAND;
    return view;
}

// 1, 2 or 5 times a power of ten, at least `least`.
double NiceStep(double least)
{
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= least)
            return factor * power;
    return 10 * power;
}

double GridStep(const View& view)
{
    return NiceStep(std::max(view.world.Width(), view.world.Height()) / 14);
}

std::string Line(const PlanePoint& from, const PlanePoint& to, const std::string& cssClass)
{
    return "<line class=\"" + cssClass + "\" x1=\"" + Number(from.x) + "\" y1=\"" + Number(from.y) +
           "\" x2=\"" + Number(to.x) + "\" y2=\"" + Number(to.y) + "\"/>\n";
}

std::string Text(const PlanePoint& at, const std::string& cssClass, const std::string& text,
                 const std::string& anchor = "")
{
    std::string anchorAttribute = anchor.empty() ? "" : " text-anchor=\"" + anchor + "\"";
    return "<text class=\"" + cssClass + "\" x=\"" + Number(at.x) + "\" y=\"" + Number(at.y) + "\"" +
           anchorAttribute + ">" + XmlText(text) + "</text>\n";
}

std::string GridLines(const View& view)
{
    const Bounds& w = view.world;
    double step = GridStep(view);
    std::string svg = "<g class=\"grid-lines\">\n";
    for (double x = std::ceil(w.minX / step) * step; x <= w.maxX; x += step) {
        PlanePoint bottom = view.ToPixels({x, w.minY});
        svg += Line(view.ToPixels({x, w.maxY}), bottom, std::abs(x) < step / 2 ? "axis" : "grid");
        svg += Text({bottom.x, bottom.y + 11}, "gridlabel", ShortNumber(std::round(x / step) * step),
                    "middle");
    }
    for (double y = std::ceil(w.minY / step) * step; y <= w.maxY; y += step) {
        PlanePoint leftEnd = view.ToPixels({w.minX, y});
        svg += Line(leftEnd, view.ToPixels({w.maxX, y}), std::abs(y) < step / 2 ? "axis" : "grid");
        svg += Text({leftEnd.x - 4, leftEnd.y + 3}, "gridlabel", ShortNumber(std::round(y / step) * step), "end");
    }
    return svg + "</g>\n";
}

std::string LoopPath(const Loop& loop, const View& view)
{
    std::string path;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        PlanePoint pixel = view.ToPixels(loop[i]);
        path += (i == 0 ? "M" : " L") + Number(pixel.x) + " " + Number(pixel.y);
    }
    return path + " Z";
}

std::string OutlinePath(const BodyOutline& outline, const View& view)
{
    std::string path;
    for (const Loop& loop : outline.loops)
        path += (path.empty() ? "" : " ") + LoopPath(loop, view);
    return "<path class=\"body\" d=\"" + path + "\"/>\n";
}

std::string Marker(const PlanePoint& pixel)
{
    double s = MARKER_SIZE;
    return "<path class=\"marker\" d=\"M" + Number(pixel.x - s) + " " + Number(pixel.y) + " L" +
           Number(pixel.x + s) + " " + Number(pixel.y) + " M" + Number(pixel.x) + " " + Number(pixel.y - s) +
           " L" + Number(pixel.x) + " " + Number(pixel.y + s) + "\"/>\n" + "<circle class=\"marker\" cx=\"" +
           Number(pixel.x) + "\" cy=\"" + Number(pixel.y) + "\" r=\"" + Number(s / 2) + "\"/>\n";
}

std::string Balloon(const PlanePoint& centre, int position)
{
    return "<circle class=\"balloon\" cx=\"" + Number(centre.x) + "\" cy=\"" + Number(centre.y) + "\" r=\"" +
           Number(BALLOON_RADIUS) + "\"/>\n" +
           Text({centre.x, centre.y + 4}, "position", std::to_string(position));
}

std::string PartGroup(const PartPicture& picture, const View& view)
{
    std::string designation = ShownDesignation(*picture.part);
    std::string svg = "<g class=\"part\" id=\"part-" + std::to_string(picture.part->id) +
                      "\" data-position=\"" + std::to_string(picture.position) + "\">\n";
    svg += "<title>" + XmlText(std::to_string(picture.position) + ": " + designation + " (part " +
                               std::to_string(picture.part->id) + ")") + "</title>\n";
    for (const BodyOutline& outline : picture.outlines)
        svg += OutlinePath(outline, view);
    if (picture.outlines.empty())
        svg += Marker(view.ToPixels(picture.origin));
    PlanePoint topRight = view.ToPixels({picture.bounds.maxX, picture.bounds.maxY});
    PlanePoint bottomLeft = view.ToPixels({picture.bounds.minX, picture.bounds.minY});
    PlanePoint balloon{topRight.x + 2 * BALLOON_RADIUS, topRight.y - 2 * BALLOON_RADIUS};
    svg += Line(topRight, {balloon.x - BALLOON_RADIUS * 0.7, balloon.y + BALLOON_RADIUS * 0.7}, "leader");
    svg += Balloon(balloon, picture.position);
    svg += Text({(bottomLeft.x + topRight.x) / 2, bottomLeft.y + 18}, "designation", designation);
    return svg + "</g>\n";
}

std::string Legend(const View& view)
{
    double y = view.canvasHeight - LEGEND_BAND / 2;
    std::string step = ShortNumber(GridStep(view));
    std::string svg = "<g class=\"legend-line\">\n";
    svg += "<circle class=\"balloon\" cx=\"24\" cy=\"" + Number(y - 4) + "\" r=\"7\"/>\n";
    svg += Text({40, y}, "legend", "position in the parts list");
    svg += "<rect class=\"body\" x=\"200\" y=\"" + Number(y - 10) + "\" width=\"14\" height=\"12\"/>\n";
    svg += Text({220, y}, "legend", "outline of a catalog body");
    svg += Marker({392, y - 4});
    svg += Text({404, y}, "legend", "part without geometry");
    svg += Text({548, y}, "legend", "grid " + step + " mm, X right, Y up");
    return svg + "</g>\n";
}

std::string Document(double width, double height, const std::string& title, const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) + "\" height=\"" +
           Number(height) + "\" viewBox=\"0 0 " + Number(width) + " " + Number(height) + "\">\n" +
           "<style>" + STYLE + "</style>\n" +
           "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n" +
           Text({16, 28}, "title", title) + body + "</svg>\n";
}

std::string Counted(std::size_t count, const std::string& singular, const std::string& plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::string DrawingSvg(const std::vector<DrawingPart>& parts, const PartsList& list)
{
    if (parts.empty())
        return Document(MIN_CANVAS_WIDTH, 160, "Drawing seen from above",
                        Text({MIN_CANVAS_WIDTH / 2, 96}, "designation", "The drawing has no parts."));
    std::vector<PartPicture> pictures;
    Bounds all;
    for (const DrawingPart& part : parts) {
        pictures.push_back(PictureOf(part, list));
        all.Join(pictures.back().bounds);
    }
    View view = ViewOf(all);
    std::string body = GridLines(view);
    for (const PartPicture& picture : pictures)
        body += PartGroup(picture, view);
    body += Legend(view);
    std::string title = "Drawing seen from above: " + Counted(parts.size(), "part", "parts") + " in " +
                        Counted(list.positions.size(), "position", "positions");
    return Document(view.canvasWidth, view.canvasHeight, title, body);
}

}  // namespace simcad
