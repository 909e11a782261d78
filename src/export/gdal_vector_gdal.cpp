// GDAL's vector drivers. GDAL writes its files itself (several of them for
// a Shapefile), so the write goes into a fresh work folder beside the
// destination and the finished files are moved into place; a failure leaves
// the destination as it was. A destination that is a link to a file is
// written where the link leads, and the link stays, as with every other
// file the program writes whole.
#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "base/failure.h"
#include "base/file_extension.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "export/gdal_handles.h"
#include "export/gdal_vector.h"
#include "platform/drives.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/whole_file.h"

namespace lodemark::exports {
namespace {

struct VectorFormat {
  std::u32string_view extension;
  const char* driver;
  bool every_table;   // holds several tables, tables without points among them
  bool attributes;    // false: the first text value is drawn as a label (CAD)
  bool bounded_text;  // text columns of a fixed width in bytes (dBase, 254 at most)
  const char* layer_option;
  // Companions that an earlier file of the name may have left and that would
  // mislead a reader of the new one: a stale spatial index, or a journal
  // that SQLite would play into the new database.
  std::array<std::u32string_view, 3> stale;
};
constexpr VectorFormat kVectorFormats[] = {
    {U".gpkg", "GPKG", true, true, false, nullptr, {U".gpkg-wal", U".gpkg-shm", U".gpkg-journal"}},
    {U".shp", "ESRI Shapefile", false, true, true, "ENCODING=UTF-8", {U".qix", U".sbn", U".sbx"}},
    {U".dxf", "DXF", false, false, false, nullptr, {}},
    {U".fgb", "FlatGeobuf", false, true, false, nullptr, {}},
    {U".gml", "GML", false, true, false, nullptr, {}},
    {U".sqlite", "SQLite", true, true, false, nullptr, {U".sqlite-wal", U".sqlite-shm", U".sqlite-journal"}},
    {U".geojsonl", "GeoJSONSeq", false, true, false, nullptr, {}},
};
constexpr std::size_t kMaxBoundedText = 254;
constexpr int kJgd2011Geographic = 6668;

// GDAL's driver list is process-wide by GDAL's own design; registering is
// done once (a thread-safe static), never undone, and changes nothing that
// the program reads otherwise.
void register_drivers() {
  static const bool kRegistered = (GDALAllRegister(), true);
  (void)kRegistered;
}

GDALDriverH driver_of(const VectorFormat& format) {
  register_drivers();
  GDALDriverH driver = GDALGetDriverByName(format.driver);
  if (!driver) return nullptr;
  const bool vector = GDALGetMetadataItem(driver, GDAL_DCAP_VECTOR, nullptr) != nullptr;
  const bool creates = GDALGetMetadataItem(driver, GDAL_DCAP_CREATE, nullptr) != nullptr;
  return vector && creates ? driver : nullptr;
}

std::u32string last_reason() {
  const char* message = CPLGetLastErrorMsg();
  return message && *message ? from_utf8(message) : std::u32string(kGdalNoReason);
}

[[noreturn]] void fail(const ProgramPath& file, std::u32string reason) {
  throw platform::FileError(kGdalWriteFailed, file.text(), std::move(reason));
}

std::u32string file_name_of(const ProgramPath& file) {
  const std::vector<std::u32string> parts = file.parts();
  return parts.empty() ? std::u32string() : parts.back();
}

ProgramPath folder_of(const ProgramPath& file) {
  const std::size_t end = file.text().rfind(ProgramPath::kSeparator);
  return end == std::u32string::npos ? ProgramPath() : ProgramPath(file.text().substr(0, end));
}

// A folder of its own beside the destination, removed with whatever is left
// in it when this goes; failures name `shown`, the file as the user named it.
class WorkFolder {
 public:
  WorkFolder(const ProgramPath& destination, const ProgramPath& shown) {
    const ProgramPath folder = folder_of(destination);
    if (folder.empty() || !platform::is_folder(folder)) fail(shown, kGdalNoFolder);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && native_.empty(); ++attempt) {
      const ProgramPath candidate = folder / (file_name_of(destination) + U"." + from_utf8(std::to_string(random())));
      const auto native = platform::to_native(candidate);
      if (!native) fail(shown, kGdalNoFolder);
      if (VSIMkdir(native->c_str(), 0700) == 0) {
        native_ = *native;
        program_ = candidate;
      } else if (errno != EEXIST) {
        fail(shown, from_utf8(std::generic_category().message(errno)));
      }
    }
    if (native_.empty()) fail(shown, kGdalNoFolder);
  }
  ~WorkFolder() { VSIRmdirRecursive(native_.c_str()); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const ProgramPath& program() const { return program_; }
  std::string native(const std::u32string& name) const { return native_ + "/" + to_utf8(name); }
  std::vector<std::u32string> entries() const {
    const gdal::StringList list(VSIReadDir(native_.c_str()));
    std::vector<std::u32string> names;
    for (char** entry = list.get(); entry && *entry; ++entry)
      if (std::string_view(*entry) != "." && std::string_view(*entry) != "..") names.push_back(from_utf8(*entry));
    return names;
  }

 private:
  std::string native_;
  ProgramPath program_;
};

const std::u32string* text_value(const FieldValue& value) { return std::get_if<std::u32string>(&value); }

// The widest text of a column in UTF-8 bytes (at least one): the width a
// fixed-width column needs so that no name is cut.
int text_width(const ProgramPath& file, const FeatureTable& table, std::size_t column) {
  std::size_t widest = 1;
  for (const Feature& feature : table.features)
    if (const auto* text = column < feature.values.size() ? text_value(feature.values[column]) : nullptr)
      widest = std::max(widest, to_utf8(*text).size());
  if (widest > kMaxBoundedText) fail(file, kGdalTextTooWide + from_utf8(table.fields[column].name));
  return static_cast<int>(widest);
}

OGRFieldType field_type(FieldKind kind) {
  switch (kind) {
    case FieldKind::Integer:
      return OFTInteger64;
    case FieldKind::Real:
      return OFTReal;
    case FieldKind::Text:
      break;
  }
  return OFTString;
}

OGRLayerH create_layer(GDALDatasetH dataset, const ProgramPath& file, const VectorFormat& format,
                       const FeatureTable& table, OGRSpatialReferenceH jgd2011, bool points) {
  char* options[] = {const_cast<char*>(format.layer_option), nullptr};
  OGRLayerH layer = GDALDatasetCreateLayer(dataset, table.name.c_str(), points ? jgd2011 : nullptr,
                                           points ? wkbPoint : wkbNone, options);
  if (!layer) fail(file, last_reason());
  if (!format.attributes) return layer;
  for (std::size_t column = 0; column < table.fields.size(); ++column) {
    const Field& field = table.fields[column];
    const gdal::FieldDefinition definition(OGR_Fld_Create(field.name.c_str(), field_type(field.kind)));
    if (format.bounded_text && field.kind == FieldKind::Text)
      OGR_Fld_SetWidth(definition.get(), text_width(file, table, column));
    if (OGR_L_CreateField(layer, definition.get(), TRUE) != OGRERR_NONE) fail(file, last_reason());
  }
  return layer;
}

void set_value(OGRFeatureH feature, int index, const FieldValue& value) {
  if (const auto* text = text_value(value))
    OGR_F_SetFieldString(feature, index, to_utf8(*text).c_str());
  else if (const auto* integer = std::get_if<long long>(&value))
    OGR_F_SetFieldInteger64(feature, index, *integer);
  else if (const auto* real = std::get_if<double>(&value))
    OGR_F_SetFieldDouble(feature, index, *real);
  else
    OGR_F_SetFieldNull(feature, index);
}

// A CAD drawing holds no attributes: the first text (the borehole's number)
// is written as a label at the point, on a layer named after the table.
void set_label(OGRFeatureH feature, const FeatureTable& table, const Feature& row) {
  OGR_F_SetFieldString(feature, OGR_F_GetFieldIndex(feature, "Layer"), table.name.c_str());
  for (const FieldValue& value : row.values) {
    const auto* text = text_value(value);
    if (!text) continue;
    std::string quoted;
    for (const char c : to_utf8(*text)) {
      if (c == '"' || c == '\\') quoted += '\\';
      quoted += c;
    }
    OGR_F_SetStyleString(feature, ("LABEL(f:\"Arial\",t:\"" + quoted + "\")").c_str());
    return;
  }
}

void write_row(OGRLayerH layer, const ProgramPath& file, const VectorFormat& format, const FeatureTable& table,
               const Feature& row) {
  // A label needs a place to stand.
  if (!format.attributes && !row.point) return;
  const gdal::Feature feature(OGR_F_Create(OGR_L_GetLayerDefn(layer)));
  if (format.attributes)
    for (std::size_t column = 0; column < row.values.size() && column < table.fields.size(); ++column)
      set_value(feature.get(), static_cast<int>(column), row.values[column]);
  else
    set_label(feature.get(), table, row);
  if (row.point) {
    const gdal::Geometry point(OGR_G_CreateGeometry(wkbPoint));
    OGR_G_SetPoint_2D(point.get(), 0, row.point->longitude, row.point->latitude);
    OGR_F_SetGeometry(feature.get(), point.get());
  }
  if (OGR_L_CreateFeature(layer, feature.get()) != OGRERR_NONE) fail(file, last_reason());
}

// The finished files take their places, the one the user named last, so
// that its companions (a Shapefile's .dbf, .shx, ...) are already there when
// it appears.
void move_into_place(const WorkFolder& work, const ProgramPath& file, const VectorFormat& format) {
  const std::u32string name = file_name_of(file);
  const ProgramPath folder = folder_of(file);
  // A link may lead to a file of another extension.
  const std::u32string stem =
      has_extension(name, format.extension) ? name.substr(0, name.size() - format.extension.size()) : name;
  for (const std::u32string_view suffix : format.stale)
    if (!suffix.empty() && platform::is_file(folder / (stem + std::u32string(suffix))))
      platform::remove_file(folder / (stem + std::u32string(suffix)));
  std::vector<std::u32string> entries = work.entries();
  std::stable_partition(entries.begin(), entries.end(), [&](const std::u32string& entry) { return entry != name; });
  for (const std::u32string& entry : entries) platform::rename_file(work.program() / entry, folder / entry);
}

}  // namespace

bool gdal_available() { return true; }

std::vector<std::u32string> gdal_extensions() {
  std::vector<std::u32string> extensions;
  for (const VectorFormat& format : kVectorFormats)
    if (driver_of(format)) extensions.emplace_back(format.extension);
  return extensions;
}

struct GdalVectorFile::Impl {
  Impl(const ProgramPath& named, std::vector<FeatureTable> shapes) : file(named), tables(std::move(shapes)) {
    const std::u32string name = file_name_of(file);
    const auto found = std::find_if(std::begin(kVectorFormats), std::end(kVectorFormats),
                                    [&](const VectorFormat& row) { return has_extension(name, row.extension); });
    GDALDriverH driver = found == std::end(kVectorFormats) ? nullptr : driver_of(*found);
    if (!driver) fail(file, kGdalNoSuchFormat);
    format = &*found;
    if (const auto refusal = platform::whole_file_refusal(file))
      throw platform::FileError(kOutputRefused, file.text(), std::u32string(*refusal));
    target = platform::file_behind_links(file);
    CPLErrorReset();
    work.emplace(target, file);
    if (OSRImportFromEPSG(jgd2011.get(), kJgd2011Geographic) != OGRERR_NONE) fail(file, last_reason());
    // Longitude first, as GIS files store a point.
    OSRSetAxisMappingStrategy(jgd2011.get(), OAMS_TRADITIONAL_GIS_ORDER);
    // The work file keeps the name of the file it replaces, so that the
    // companions a driver writes are named for it.
    dataset.reset(GDALCreate(driver, work->native(file_name_of(target)).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) fail(file, last_reason());
    // One transaction where the driver has them: a GeoPackage of many rows
    // is otherwise one disk sync per row.
    transaction = GDALDatasetStartTransaction(dataset.get(), FALSE) == OGRERR_NONE;
    if (!format->every_table) tables.resize(std::min<std::size_t>(tables.size(), 1));
    layers.resize(tables.size());
    if (!format->bounded_text)
      for (std::size_t index = 0; index < tables.size(); ++index) layers[index] = create(tables[index]);
  }

  OGRLayerH create(const FeatureTable& table) {
    return create_layer(dataset.get(), file, *format, table, jgd2011.get(), table.points || !format->every_table);
  }

  ProgramPath file;    // as the user named it
  ProgramPath target;  // the file it stands for, behind any link
  const VectorFormat* format = nullptr;
  // Names and fields; the rows too where the columns are sized from them.
  std::vector<FeatureTable> tables;
  const gdal::QuietErrors quiet;
  std::optional<WorkFolder> work;
  const gdal::SpatialReference jgd2011{OSRNewSpatialReference(nullptr)};
  gdal::Dataset dataset;  // closed before the work folder goes
  bool transaction = false;
  std::vector<OGRLayerH> layers;  // owned by the dataset; none yet for a held table
};

GdalVectorFile::GdalVectorFile(const ProgramPath& file, std::vector<FeatureTable> tables)
    : impl_(std::make_unique<Impl>(file, std::move(tables))) {}

GdalVectorFile::~GdalVectorFile() = default;

void GdalVectorFile::add(std::size_t table, const Feature& row) {
  Impl& file = *impl_;
  if (table >= file.tables.size()) return;
  if (file.format->bounded_text)
    file.tables[table].features.push_back(row);
  else
    write_row(file.layers[table], file.file, *file.format, file.tables[table], row);
}

void GdalVectorFile::finish() {
  Impl& file = *impl_;
  for (std::size_t index = 0; index < file.tables.size(); ++index) {
    if (file.layers[index]) continue;
    file.layers[index] = file.create(file.tables[index]);
    for (const Feature& row : file.tables[index].features)
      write_row(file.layers[index], file.file, *file.format, file.tables[index], row);
  }
  if (file.transaction && GDALDatasetCommitTransaction(file.dataset.get()) != OGRERR_NONE)
    fail(file.file, last_reason());
  // Closing writes what the driver kept back; its failure shows only here.
  CPLErrorReset();
  file.dataset.reset();
  if (CPLGetLastErrorType() >= CE_Failure) fail(file.file, last_reason());
  move_into_place(*file.work, file.target, *file.format);
}

void write_gdal_vector(const ProgramPath& file, const std::vector<FeatureTable>& tables) {
  std::vector<FeatureTable> shapes;
  for (const FeatureTable& table : tables) shapes.push_back({table.name, table.fields, {}, table.points});
  GdalVectorFile out(file, std::move(shapes));
  for (std::size_t index = 0; index < tables.size(); ++index)
    for (const Feature& row : tables[index].features) out.add(index, row);
  out.finish();
}

}  // namespace lodemark::exports
