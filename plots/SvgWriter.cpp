#include "plots/SvgWriter.h"

#include <cstdio>

#include "dataset/TextWriter.h"
#include "plots/PlotPrimitives.h"

namespace {

// Character data or an attribute value: control bytes, which XML 1.0 forbids (NUL included), as
// '?', then the XML references of XMLEscape.
std::string Escaped(std::string text) {
  for (char& c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  }
  return XMLEscape(text);
}

class TSvgOut {
public:
  std::string Text;

  TSvgOut& operator<<(const std::string& s) {
    Text += s;
    return *this;
  }
  TSvgOut& operator<<(const char* s) {
    Text += s;
    return *this;
  }
  TSvgOut& Number(Extended v) {
    Text += PlotNumberText(v, 2);
    return *this;
  }
  TSvgOut& Attribute(const char* name, Extended v) {
    Text += ' ';
    Text += name;
    Text += "=\"";
    Number(v);
    Text += '"';
    return *this;
  }
  TSvgOut& Color(TPlotColor c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.Red, c.Green, c.Blue);
    Text += hex;
    return *this;
  }
  // fill and stroke attributes of a shape.
  TSvgOut& Paint(const std::optional<TPlotColor>& fill, const std::optional<TPlotColor>& stroke,
                 Extended strokeWidth) {
    Text += " fill=\"";
    if (fill)
      Color(*fill);
    else
      Text += "none";
    Text += '"';
    // "none" said explicitly: some renderers outline shapes by default.
    if (stroke) {
      Text += " stroke=\"";
      Color(*stroke);
      Text += '"';
      Attribute("stroke-width", strokeWidth);
    } else {
      Text += " stroke=\"none\"";
    }
    return *this;
  }

  void Write(const TPlotRect& r) {
    *this << "<rect";
    Attribute("x", r.X).Attribute("y", r.Y).Attribute("width", r.Width);
    Attribute("height", r.Height).Paint(r.Fill, r.Stroke, r.StrokeWidth) << "/>\n";
  }
  void Write(const TPlotLine& l) {
    *this << "<line";
    Attribute("x1", l.From.X).Attribute("y1", l.From.Y).Attribute("x2", l.To.X);
    Attribute("y2", l.To.Y) << " stroke=\"";
    Color(l.Color) << "\"";
    Attribute("stroke-width", l.Width);
    if (l.Dashed) {
      *this << " stroke-dasharray=\"";
      Number(kPlotDash) << " ";
      Number(kPlotGap) << "\"";
    }
    *this << "/>\n";
  }
  void Write(const TPlotPath& p) {
    *this << "<path d=\"";
    for (const std::vector<TPlotPoint>& part : p.Parts) {
      for (size_t k = 0; k < part.size(); ++k) {
        Text += k == 0 ? 'M' : k == 1 ? 'L' : ' ';
        Number(part[k].X) << " ";
        Number(part[k].Y);
      }
      if (p.Closed && !part.empty()) Text += 'Z';
    }
    *this << "\"";
    Paint(p.Fill, p.Stroke, p.StrokeWidth) << "/>\n";
  }
  void Write(const TPlotText& t) {
    static const char* const kAnchors[] = {"start", "middle", "end"};
    *this << "<text";
    // A turned text is placed by its transformation: translate, then rotate about the origin.
    if (t.Rotation != 0) {
      *this << " x=\"0\" y=\"0\" transform=\"translate(";
      Number(t.At.X) << " ";
      Number(t.At.Y) << ") rotate(";
      Number(t.Rotation) << ")\"";
    } else {
      Attribute("x", t.At.X).Attribute("y", t.At.Y);
    }
    Attribute("font-size", t.Size);
    *this << " text-anchor=\"" << kAnchors[static_cast<int>(t.Anchor)] << "\"";
    if (t.Bold) *this << " font-weight=\"bold\"";
    if (t.Color != kPlotBlack) {
      *this << " fill=\"";
      Color(t.Color) << "\"";
    }
    *this << ">" << Escaped(t.Text) << "</text>\n";
  }
};

} // namespace

std::string SvgText(const TPlot& plot) {
  TSvgOut out;
  out << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
  out.Attribute("width", plot.Width).Attribute("height", plot.Height);
  out << " viewBox=\"0 0 ";
  out.Number(plot.Width) << " ";
  out.Number(plot.Height) << "\" font-family=\"Helvetica, Arial, sans-serif\">\n";
  out << "<title>" << Escaped(plot.Title) << "</title>\n";
  out << "<rect x=\"0\" y=\"0\"";
  out.Attribute("width", plot.Width).Attribute("height", plot.Height) << " fill=\"#ffffff\"/>\n";
  for (const TPlotGroup& group : plot.Groups) {
    out << "<g id=\"" << Escaped(group.Id) << "\">\n";
    if (!group.Name.empty()) out << "<title>" << Escaped(group.Name) << "</title>\n";
    for (const TPlotItem& item : group.Items)
      std::visit([&out](const auto& primitive) { out.Write(primitive); }, item);
    out << "</g>\n";
  }
  out << "</svg>\n";
  return std::move(out.Text);
}

void WriteSvgFile(const TPlot& plot, const std::string& path) {
  const std::string text = SvgText(plot);
  SaveFileSafely(path, [&text](std::ostream& out) { WriteText(out, text); });
}
