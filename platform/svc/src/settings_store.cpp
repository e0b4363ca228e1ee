#include "settings_store.hpp"

#include "case_fold.hpp"

#include <map>

namespace tl::svc {
namespace {

TlVariant Text(const std::string& text) {
    TlVariant value{};
    value.kind = TL_VT_STRING;
    value.v.str = text.c_str();
    return value;
}

TlVariant Integer(int32_t number) {
    TlVariant value{};
    value.kind = TL_VT_INT32;
    value.v.i32 = number;
    return value;
}

} // namespace

SettingsStore::SettingsStore(db::Connection& connection, std::string_view storage)
    : connection_(connection), storage_(FoldCase(storage)) {}

std::optional<StoredSetting> SettingsStore::Read(std::string_view section, std::string_view key) {
    const std::string section_fold = FoldCase(section);
    const std::string key_fold = FoldCase(key);
    const TlVariant params[] = {Text(storage_), Text(section_fold), Text(key_fold)};
    const auto set =
        connection_.Query("select value, type from settings "
                          "where storage = :storage and section_fold = :section and key_fold = :key",
                          params);
    if (set->Eof()) {
        return std::nullopt;
    }
    return StoredSetting{static_cast<SettingType>(set->AsInteger(1)), set->AsText(0)};
}

void SettingsStore::Write(std::string_view section, std::string_view key, const StoredSetting& value) {
    const std::string section_text(section);
    const std::string section_fold = FoldCase(section);
    const std::string key_text(key);
    const std::string key_fold = FoldCase(key);
    const TlVariant params[] = {
        Text(storage_),
        Text(section_text),
        Text(section_fold),
        Text(key_text),
        Text(key_fold),
        Text(value.text),
        Integer(static_cast<int32_t>(value.type)),
        Text(storage_),
        Text(section_fold),
    };
    connection_.Execute(
        "insert into settings (storage, section, section_fold, key, key_fold, value, type, seq) "
        "values (:storage, :section, :section_fold, :key, :key_fold, :value, :type, "
        "(select coalesce(max(seq), 0) + 1 from settings where storage = :storage and section_fold = "
        ":section_fold)) "
        "on conflict (storage, section_fold, key_fold) do update set value = excluded.value, type = "
        "excluded.type",
        params);
}

std::vector<SettingsStore::Listed> SettingsStore::List(std::string_view section) {
    const std::string section_fold = FoldCase(section);
    const TlVariant params[] = {Text(storage_), Text(section_fold)};
    auto set = connection_.Query("select key, key_fold, value, type from settings "
                                 "where storage = :storage and section_fold = :section order by seq",
                                 params);
    std::vector<Listed> listed;
    listed.reserve(static_cast<size_t>(set->RowCount()));
    for (set->First(); !set->Eof(); set->Next()) {
        listed.push_back(
            {set->AsText(0), set->AsText(1), {static_cast<SettingType>(set->AsInteger(3)), set->AsText(2)}});
    }
    return listed;
}

std::vector<std::string> SettingsStore::Subsections(std::string_view section) {
    // A storage holds a few sections per task: they are all read and cut here, which keeps the
    // statement free of the backends' differing text functions.
    const std::string prefix = FoldCase(section);
    const TlVariant params[] = {Text(storage_)};
    auto set = connection_.Query(
        "select distinct section, section_fold from settings where storage = :storage", params);
    std::map<std::string, std::string> names; // folded name -> name as written
    for (set->First(); !set->Eof(); set->Next()) {
        const std::string fold = set->AsText(1);
        if (!fold.starts_with(prefix) || fold.size() == prefix.size()) {
            continue;
        }
        const std::string written = set->AsText(0);
        const size_t end = fold.find('\\', prefix.size());
        const size_t length = end == std::string::npos ? std::string::npos : end - prefix.size();
        // Folding keeps the length of every letter, so the written name is cut at the same places.
        names.emplace(fold.substr(prefix.size(), length), written.substr(section.size(), length));
    }
    std::vector<std::string> result;
    result.reserve(names.size());
    for (auto& [fold, name] : names) {
        result.push_back(std::move(name));
    }
    return result;
}

bool SettingsStore::Exists(std::string_view section, std::string_view key) {
    return Read(section, key).has_value();
}

void SettingsStore::Delete(std::string_view section, std::string_view key) {
    const std::string section_fold = FoldCase(section);
    const std::string key_fold = FoldCase(key);
    const TlVariant params[] = {Text(storage_), Text(section_fold), Text(key_fold)};
    connection_.Execute(
        "delete from settings where storage = :storage and section_fold = :section and key_fold = :key",
        params);
}

void SettingsStore::EraseSection(std::string_view section) {
    const std::string section_fold = FoldCase(section);
    const TlVariant params[] = {Text(storage_), Text(section_fold)};
    connection_.Execute("delete from settings where storage = :storage and section_fold = :section", params);
}

bool SettingsStore::Rename(std::string_view section, std::string_view old_key, std::string_view new_key) {
    if (new_key.empty()) {
        return false;
    }
    const std::string old_fold = FoldCase(old_key);
    const std::string new_fold = FoldCase(new_key);
    if (!Exists(section, old_key) || (new_fold != old_fold && Exists(section, new_key))) {
        return false;
    }
    const std::string section_fold = FoldCase(section);
    const std::string new_text(new_key);
    const TlVariant params[] = {Text(new_text), Text(new_fold), Text(storage_), Text(section_fold),
                                Text(old_fold)};
    return connection_.Execute("update settings set key = :key, key_fold = :key_fold "
                               "where storage = :storage and section_fold = :section and key_fold = :old",
                               params) == 1;
}

} // namespace tl::svc
