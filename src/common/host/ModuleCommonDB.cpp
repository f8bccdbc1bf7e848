#include "common/host/ModuleCommonDB.h"

#include "common/host/ModuleState.h"

namespace shop {

Connection &connectionOf(const ConnectionPtr &con)
{
    if (con)
        return *con;
    static Connection unopened;
    return unopened;
}

Connection &moduleConnection() { return connectionOf(moduleState().gadocon); }

std::shared_ptr<clsCommonDB> newCommonDB(const QString &tableName)
{
    auto commonDb = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
    commonDb->adocon = moduleState().gadocon;
    commonDb->strTableName = tableName;
    return commonDb;
}

} // namespace shop
