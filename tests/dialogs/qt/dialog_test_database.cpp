#include "dialog_test_database.hpp"

#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

namespace tl::test {

DialogTestDatabase::DialogTestDatabase() {
    auto connection = db::Connection::Open(":memory:");
    db::InitSchema(*connection);
    connection->Execute(R"sql(
        insert into Devices (id, Code, Name) values (1, 26, 'ПС Северная'), (2, 27, 'ПС Южная');
        insert into Sensors (StationId, Code, Typ, Name) values
            (1, 1, 0, 'Ввод 1 А+'), (1, 2, 2, 'Ввод 1 R+'), (1, 3, 1, 'Ввод 2 А-'), (1, 4, 3, 'Ввод 2 R-'),
            (2, 1, 0, 'Фидер А+'), (2, 2, 2, 'Фидер R+');
        insert into Clients (Code, Typ, Name) values (7, null, 'Абонент');
        insert into MObjects (Id, Code, Name) values (1, 5, 'Выключатель');
        insert into MObjStates (ObjectID, Code, Name) values (1, 1, 'Включен'), (1, 2, 'Ремонт');
    )sql");
    db::SetProcessConnection(std::move(connection));
}

DialogTestDatabase::~DialogTestDatabase() {
    DBCloseDatabase();
}

} // namespace tl::test
