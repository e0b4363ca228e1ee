// The C functions of the settings service, over the process-wide database. Reads never fail: a
// missing key, a value that does not convert, no open database or a database error all give the
// default. Writes report such failures as false.
#include "tlplatform/cfgsvc.h"

#include "case_fold.hpp"
#include "settings_store.hpp"

#include <chrono>
#include <exception>
#include <string>
#include <unordered_map>

namespace {

thread_local std::string t_storage;

std::string_view Arg(const char* text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// A task's elements are read by listing their section and then reading each key: thousands of
// reads for a large task, each a transaction of the database on its own. The listing reads the
// values with the keys, and the reads of the listed keys that follow take them from here, each
// once. Anything else done through the service drops them, and a second after the listing they
// are no longer taken: a value answered from here was read from the database less than a second
// before.
struct ReadAhead {
    const tl::db::Connection* connection = nullptr;
    std::string uri;
    std::string storage; // these three folded
    std::string section;
    std::unordered_map<std::string, tl::svc::StoredSetting> values; // by key
    std::chrono::steady_clock::time_point until;

    static constexpr std::chrono::seconds kLifetime{1};
};
ReadAhead g_read_ahead; // under the process-wide connection's lock

// Runs `action` on the store of the current storage under the process-wide connection's lock;
// `fallback` when there is no database or anything fails. The values read ahead are dropped
// unless the action is a read that may take one.
template <typename Result, typename Action>
Result WithStore(Result fallback, Action&& action, bool reading_ahead = false) {
    try {
        auto lock = tl::db::LockProcessConnection();
        if (!reading_ahead) {
            g_read_ahead.values.clear();
        }
        tl::db::Connection* connection = tl::db::ProcessConnection();
        if (connection == nullptr) {
            return fallback;
        }
        tl::svc::SettingsStore store(*connection, t_storage);
        return action(store, *connection);
    } catch (...) {
        return fallback;
    }
}

// The setting, read ahead by the listing of its section just before, or from the database.
std::optional<tl::svc::StoredSetting> ReadSetting(tl::svc::SettingsStore& store,
                                                  const tl::db::Connection& connection,
                                                  std::string_view section, std::string_view key) {
    ReadAhead& ahead = g_read_ahead;
    if (!ahead.values.empty()) {
        if (&connection == ahead.connection && connection.Uri() == ahead.uri &&
            std::chrono::steady_clock::now() < ahead.until && tl::svc::FoldCase(section) == ahead.section &&
            tl::svc::FoldCase(t_storage) == ahead.storage) {
            if (auto found = ahead.values.extract(tl::svc::FoldCase(key))) {
                return std::move(found.mapped());
            }
        }
        ahead.values.clear();
    }
    return store.Read(section, key);
}

template <typename Value>
Value ReadTyped(const char* section, const char* key, Value fallback,
                std::optional<Value> (*convert)(const tl::svc::StoredSetting&)) {
    if (key == nullptr) {
        return fallback;
    }
    return WithStore(
        fallback,
        [&](tl::svc::SettingsStore& store, const tl::db::Connection& connection) {
            const auto stored = ReadSetting(store, connection, Arg(section), key);
            return stored ? convert(*stored).value_or(fallback) : fallback;
        },
        true);
}

bool WriteTyped(const char* section, const char* key, const tl::svc::StoredSetting& value) {
    if (key == nullptr || *key == '\0') {
        return false;
    }
    return WithStore(false, [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
        store.Write(Arg(section), key, value);
        return true;
    });
}

} // namespace

extern "C" {

void SvcSetStorageName(const char* storage) {
    try {
        t_storage = Arg(storage);
    } catch (...) {
        t_storage.clear();
    }
}

const char* SvcReadString(const char* section, const char* key, const char* default_value) {
    thread_local std::string result;
    try {
        std::string fallback(Arg(default_value));
        if (key == nullptr) {
            result = std::move(fallback);
            return result.c_str();
        }
        result = WithStore(
            fallback,
            [&](tl::svc::SettingsStore& store, const tl::db::Connection& connection) {
                const auto stored = ReadSetting(store, connection, Arg(section), key);
                return stored ? tl::svc::ReadAsString(*stored) : fallback;
            },
            true);
    } catch (...) {
        result.clear();
    }
    return result.c_str();
}

bool SvcWriteString(const char* section, const char* key, const char* value) {
    try {
        return WriteTyped(section, key, tl::svc::StoreString(std::string(Arg(value))));
    } catch (...) {
        return false;
    }
}

int32_t SvcReadInteger(const char* section, const char* key, int32_t default_value) {
    return ReadTyped<int32_t>(section, key, default_value, tl::svc::ReadAsInteger);
}

bool SvcWriteInteger(const char* section, const char* key, int32_t value) {
    try {
        return WriteTyped(section, key, tl::svc::StoreInteger(value));
    } catch (...) {
        return false;
    }
}

bool SvcReadBool(const char* section, const char* key, bool default_value) {
    return ReadTyped<bool>(section, key, default_value, tl::svc::ReadAsBool);
}

bool SvcWriteBool(const char* section, const char* key, bool value) {
    try {
        return WriteTyped(section, key, tl::svc::StoreBool(value));
    } catch (...) {
        return false;
    }
}

double SvcReadDateTime(const char* section, const char* key, double default_value) {
    return ReadTyped<double>(section, key, default_value, tl::svc::ReadAsDateTime);
}

bool SvcWriteDateTime(const char* section, const char* key, double value) {
    try {
        return WriteTyped(section, key, tl::svc::StoreDateTime(value));
    } catch (...) {
        return false;
    }
}

int32_t SvcReadSection(const char* section, TlSvcKeyProc each, void* context) {
    std::vector<std::string> keys;
    try {
        // The keys are gathered first, so that the callback may call the service itself.
        keys = WithStore(std::vector<std::string>(),
                         [&](tl::svc::SettingsStore& store, const tl::db::Connection& connection) {
                             std::vector<std::string> listed_keys;
                             std::unordered_map<std::string, tl::svc::StoredSetting> values;
                             for (auto& listed : store.List(Arg(section))) {
                                 listed_keys.push_back(std::move(listed.key));
                                 values.emplace(std::move(listed.key_fold), std::move(listed.value));
                             }
                             g_read_ahead = {&connection,
                                             connection.Uri(),
                                             tl::svc::FoldCase(t_storage),
                                             tl::svc::FoldCase(Arg(section)),
                                             std::move(values),
                                             std::chrono::steady_clock::now() + ReadAhead::kLifetime};
                             return listed_keys;
                         });
    } catch (...) {
        return 0;
    }
    if (each != nullptr) {
        for (const auto& key : keys) {
            each(context, key.c_str());
        }
    }
    return static_cast<int32_t>(keys.size());
}

int32_t SvcReadSections(const char* section, TlSvcKeyProc each, void* context) {
    std::vector<std::string> names;
    try {
        names = WithStore(std::vector<std::string>(),
                          [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
                              return store.Subsections(Arg(section));
                          });
    } catch (...) {
        return 0;
    }
    if (each != nullptr) {
        for (const auto& name : names) {
            each(context, name.c_str());
        }
    }
    return static_cast<int32_t>(names.size());
}

bool SvcValueExists(const char* section, const char* key) {
    if (key == nullptr) {
        return false;
    }
    return WithStore(false, [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
        return store.Exists(Arg(section), key);
    });
}

bool SvcDeleteKey(const char* section, const char* key) {
    if (key == nullptr) {
        return false;
    }
    return WithStore(false, [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
        store.Delete(Arg(section), key);
        return true;
    });
}

bool SvcEraseSection(const char* section) {
    return WithStore(false, [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
        store.EraseSection(Arg(section));
        return true;
    });
}

bool SvcRenameParam(const char* section, const char* old_key, const char* new_key, bool /*option*/) {
    if (old_key == nullptr || new_key == nullptr) {
        return false;
    }
    return WithStore(false, [&](tl::svc::SettingsStore& store, const tl::db::Connection&) {
        return store.Rename(Arg(section), old_key, new_key);
    });
}

} // extern "C"
