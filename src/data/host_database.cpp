#include "tldata/host_database.hpp"

#include "tlcommon/text_codec.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace tl {

HostServiceRef::HostServiceRef(TlHostService* service) {
    Reset(service);
}

HostServiceRef::HostServiceRef(const HostServiceRef& other) {
    Reset(other.service_);
}

HostServiceRef& HostServiceRef::operator=(const HostServiceRef& other) {
    Reset(other.service_);
    return *this;
}

HostServiceRef::~HostServiceRef() {
    Reset(nullptr);
}

void HostServiceRef::Reset(TlHostService* service) {
    // Add before release, so that resetting to the same interface never drops it to zero.
    if (service != nullptr) {
        service->vtbl->AddRef(service);
    }
    TlHostService* old = service_;
    service_ = service;
    if (old != nullptr) {
        old->vtbl->Release(old);
    }
}

TlHostService& HostDatabase::Service() const {
    if (service_ == nullptr) {
        throw std::logic_error("no host service interface: the driver is not initialised");
    }
    return *service_;
}

void HostDatabase::ExecQuery(int32_t task_id, std::string_view sql, std::span<const Variant> params,
                             TlDataReadyProc handler, void* context) const {
    TlHostService& service = Service();
    const std::string text = Utf8ToCp1251(sql);
    // Convert every string first: pointers into `strings` must not move while `values` is built.
    std::vector<std::string> strings;
    strings.reserve(params.size());
    for (const Variant& param : params) {
        strings.push_back(param.Kind() == TL_VT_STRING ? Utf8ToCp1251(param.Text()) : std::string());
    }
    std::vector<TlVariant> values;
    values.reserve(params.size() + 1);
    for (size_t i = 0; i < params.size(); ++i) {
        values.push_back(ToAbiScalar(params[i]));
        if (params[i].Kind() == TL_VT_STRING) {
            values.back().v.str = strings[i].c_str();
        }
    }
    if (values.empty()) {
        values.push_back(ToAbiScalar(Variant::Int32(0)));
    }
    service.vtbl->ExecQuery(&service, task_id, text.c_str(), values.data(),
                            static_cast<int32_t>(values.size()), handler, context);
}

void HostDatabase::ReleaseDataSet(TlResultSet** result) const {
    if (result == nullptr || *result == nullptr) {
        return;
    }
    TlHostService& service = Service();
    service.vtbl->ReleaseDataSet(&service, result);
    *result = nullptr; // the host clears it too; a host that forgets must not get it back
}

void HostDatabase::StoreRecords(std::string_view table, std::unique_ptr<TDBRecords> records) const {
    TlHostService& service = Service();
    const std::string name = Utf8ToCp1251(table);
    service.vtbl->StoreRecords(&service, name.c_str(),
                               RecordStore::HandOver(std::move(records), TextEncoding::kCp1251));
}

} // namespace tl
