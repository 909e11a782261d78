#include "export/field_text.h"
#include "export/text_formats.h"

namespace lodemark::exports {
namespace {

// Text for an XML element or attribute. Control characters that XML 1.0
// does not allow become U+FFFD rather than make the file unreadable.
std::string xml_text(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
      out += "\xEF\xBF\xBD";
    else if (c == '\r')
      out += "&#13;";
    else
      out += c;
  }
  return out;
}

std::string value_text(const Feature& feature, std::size_t field) {
  return field < feature.values.size() ? xml_text(field_text(feature.values[field])) : std::string();
}

}  // namespace

std::string kml_head(const FeatureTable& table) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>" +
         xml_text(table.name) + "</name>\n";
}

void add_kml_placemark(std::string& out, const FeatureTable& table, const Feature& feature) {
  if (!feature.point) return;
  out += "<Placemark>\n<name>" + value_text(feature, 0) + "</name>\n<description>" + value_text(feature, 1) +
         "</description>\n<ExtendedData>\n";
  for (std::size_t f = 0; f < table.fields.size(); ++f)
    out +=
        "<Data name=\"" + xml_text(table.fields[f].name) + "\"><value>" + value_text(feature, f) + "</value></Data>\n";
  out += "</ExtendedData>\n<Point><coordinates>" + real_text(feature.point->longitude) + "," +
         real_text(feature.point->latitude) + "</coordinates></Point>\n</Placemark>\n";
}

std::string kml_tail() { return "</Document>\n</kml>\n"; }

}  // namespace lodemark::exports
