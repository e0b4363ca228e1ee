#include "tldialogs/element_catalogue.hpp"

#include "tldialogs/database_query.hpp"
#include "tlparams/sensor_types.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::dialogs {
namespace {

void ReadEntries(std::string_view sql, int32_t element_type, std::vector<CatalogueEntry>& entries) {
    QueryRows rows(sql);
    const int32_t object_code = rows.Field("ObjCode");
    const int32_t item = rows.Field("Item");
    const int32_t kind = rows.Field("Typ");
    const int32_t name = rows.Field("Name");
    const int32_t device_name = rows.Field("ObjName");
    for (; !rows.AtEnd(); rows.Next()) {
        CatalogueEntry entry;
        entry.address = {rows.Integer(object_code), element_type, rows.Integer(item)};
        entry.name = rows.Text(name);
        entry.device_name = rows.Text(device_name);
        if (!rows.IsNull(kind)) {
            entry.kind = rows.Integer(kind);
        }
        entries.push_back(std::move(entry));
    }
}

} // namespace

std::string ChannelStatement(std::string_view table, std::string_view where, std::string_view order) {
    return fmt::format(
        "SELECT {0}.Id, Devices.Code AS ObjCode, {0}.Code as Item, {0}.Typ as Typ, {0}.Name, "
        "Devices.Name AS ObjName FROM Devices INNER JOIN {0} ON {0}.StationId = Devices.id {1} {2}",
        table, where, order);
}

ElementCatalogue::ElementCatalogue(std::vector<CatalogueEntry> entries) : entries_(std::move(entries)) {
    std::ranges::stable_sort(entries_, {}, &CatalogueEntry::address);
}

ElementCatalogue ElementCatalogue::Load() {
    std::vector<CatalogueEntry> entries;
    ReadEntries(ChannelStatement("Sensors", "", ""), kChannelType, entries);
    ReadEntries(kClientStatement, kClientType, entries);
    return ElementCatalogue(std::move(entries));
}

int32_t ElementCatalogue::IndexOf(const ElementAddress& address) const {
    const auto found = std::ranges::lower_bound(entries_, address, {}, &CatalogueEntry::address);
    if (found == entries_.end() || found->address != address) {
        return -1;
    }
    return static_cast<int32_t>(found - entries_.begin());
}

const CatalogueEntry* ElementCatalogue::Find(const ElementAddress& address) const {
    const int32_t index = IndexOf(address);
    return index < 0 ? nullptr : &entries_[static_cast<size_t>(index)];
}

std::string_view KindName(std::optional<int32_t> kind) {
    return SensorTypeName(kind.value_or(-1));
}

std::string Hex4(int32_t object_code) {
    return fmt::format("{:04X}", static_cast<uint32_t>(object_code));
}

std::string ElementCaption(const ElementAddress& address, const CatalogueEntry* entry) {
    if (address.object_code < 1) {
        return entry != nullptr ? fmt::format("({}) {}", address.item, entry->name)
                                : fmt::format("({})", address.item);
    }
    const std::string code =
        fmt::format("(${}.{}.{})", Hex4(address.object_code), address.element_type, address.item);
    // An element the catalogue cannot name (a device-level address of a formula) shows its address.
    return entry != nullptr ? fmt::format("{} {}.{}", code, entry->device_name, entry->name) : code;
}

} // namespace tl::dialogs
