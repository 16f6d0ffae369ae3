#include "PracticeSet.h"

#include "DataModule.h"
#include "Globals.h"

namespace practice {

bool OpenPracticeSet(store::TDM1& dm) {
    store::Query& set = dm.Cn1Query_tm;
    set.close();
    set.setFilter(QString());
    set.setFiltered(false);
    // Only rows that hold a session answer are written: the same end state as
    // clearing every row, without rewriting a whole bank on every set.
    dm.ADOCn1.execute(
        QStringLiteral("Update tab_answ set E2_1= '' where E2_1 <> '' or E2_1 is null"));
    set.setSql(qb::PracticeSql);
    set.open();
    return set.recordCount() > 0;
}

}  // namespace practice
