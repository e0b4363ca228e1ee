// The table `settings` of a database, addressed by storage, section and key. Names compare without
// regard to case (FoldCase) and keep the spelling they were first written with.
#pragma once

#include "setting_value.hpp"
#include "tlplatform/db_connection.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::svc {

class SettingsStore {
public:
    SettingsStore(db::Connection& connection, std::string_view storage);

    std::optional<StoredSetting> Read(std::string_view section, std::string_view key);
    // A new key goes to the end of the section's listing; an existing one keeps its place.
    void Write(std::string_view section, std::string_view key, const StoredSetting& value);
    struct Listed {
        std::string key;      // as first written
        std::string key_fold; // as compared
        StoredSetting value;
    };
    // The keys with their values, in the order in which the keys were first written.
    std::vector<Listed> List(std::string_view section);
    // Names of the sections directly below `section` (see SvcReadSections).
    std::vector<std::string> Subsections(std::string_view section);
    bool Exists(std::string_view section, std::string_view key);
    void Delete(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);
    // False when the old key is missing or the new name belongs to another key (which then stays
    // as it was).
    bool Rename(std::string_view section, std::string_view old_key, std::string_view new_key);

private:
    db::Connection& connection_;
    std::string storage_;
};

} // namespace tl::svc
