#include "dialog_test_database.hpp"

#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

namespace tl::test {

DialogTestDatabase::DialogTestDatabase() {
    auto connection = db::Connection::Open(":memory:");
    db::InitSchema(*connection);
    connection->Execute(R"sql(
        insert into Devices (id, Code, Name) values (1, 26, 'ПС Северная');
        insert into Sensors (StationId, Code, Typ, Name) values
            (1, 1, 0, 'Ввод 1 А+'), (1, 2, 2, 'Ввод 1 R+'), (1, 3, 1, 'Ввод 2 А-'), (1, 4, 3, 'Ввод 2 R-');
    )sql");
    db::SetProcessConnection(std::move(connection));
}

DialogTestDatabase::~DialogTestDatabase() {
    DBCloseDatabase();
}

} // namespace tl::test
