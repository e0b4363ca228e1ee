// The elements an operator can configure: every metering channel (element type 0) and every
// client (element type 2) with its names and channel kind, read once when the settings dialog
// opens and kept sorted by element address.
#pragma once

#include "tlsettings/element_key.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::dialogs {

using settings::ElementAddress;

inline constexpr int32_t kChannelType = 0;
inline constexpr int32_t kClientType = 2;

struct CatalogueEntry {
    ElementAddress address;
    std::string name;
    std::string device_name;     // empty for a client
    std::optional<int32_t> kind; // 0 Апр, 1 Аот, 2 Rпр, 3 Rот; absent when not set
    bool IsChannel() const { return address.element_type == kChannelType; }
};

// "SELECT %0:s.Id, ... FROM Devices INNER JOIN %0:s ON %0:s.StationId = Devices.id %s %s" with
// the table and both filter parts filled in.
std::string ChannelStatement(std::string_view table, std::string_view where, std::string_view order);
inline constexpr std::string_view kClientStatement =
    "SELECT id, 0 AS ObjCode, Code as Item, Typ, Name, '' as ObjName FROM Clients";

class ElementCatalogue {
public:
    ElementCatalogue() = default;
    explicit ElementCatalogue(std::vector<CatalogueEntry> entries);

    // Channels and clients through the database library's process-wide connection; throws
    // std::runtime_error with the database's text when a statement fails.
    static ElementCatalogue Load();

    const std::vector<CatalogueEntry>& Entries() const { return entries_; }
    // Position of the address, or -1.
    int32_t IndexOf(const ElementAddress& address) const;
    const CatalogueEntry* Find(const ElementAddress& address) const;

private:
    std::vector<CatalogueEntry> entries_;
};

// "Апр", "Аот", "Rпр", "Rот", or "не задан".
std::string_view KindName(std::optional<int32_t> kind);
// The object code as four hexadecimal digits, as captions write it ("001A").
std::string Hex4(int32_t object_code);
// "(%d) %s" for a client (object code below 1), "($%s.%d.%d) %s.%s" for a channel; the address
// alone for an element the catalogue does not hold.
std::string ElementCaption(const ElementAddress& address, const CatalogueEntry* entry);

} // namespace tl::dialogs
