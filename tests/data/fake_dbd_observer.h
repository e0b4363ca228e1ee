/* What the test database library reports to its caller: the context of DBAddRecords is one of
 * these. */
#ifndef TL_TEST_FAKE_DBD_OBSERVER_H
#define TL_TEST_FAKE_DBD_OBSERVER_H

#include "tlosses/abi.h"

#include <stdint.h>

typedef struct FakeDbdObserver {
    void (*seen)(struct FakeDbdObserver* self, const char* table, const TlRecords* records);
    int32_t calls;
} FakeDbdObserver;

#endif
