// Opening a practice set: every session starts with no answer given, then the set
// named by qb::PracticeSql is read into the shared question query.
#pragma once

namespace store {
class TDM1;
}

namespace practice {

// Clears the session answer (E2_1) of every question of the bank and opens
// Cn1Query_tm on qb::PracticeSql with no filter. True when the set has a question.
bool OpenPracticeSet(store::TDM1& dm);

}  // namespace practice
