// A database library that offers only DBAddRecords. It reports each call to the observer that the
// caller passes as its context.
#include "fake_dbd_observer.h"

#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t
DBAddRecords(const char* table, const TlRecords* records, void* context) {
    auto* observer = static_cast<FakeDbdObserver*>(context);
    observer->calls++;
    observer->seen(observer, table, records);
    return records->vtbl->Count(records);
}
