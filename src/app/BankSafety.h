// What start-up does for the safety of the bank: a damaged bank is offered its newest
// backup, and the first start of each day makes one.
#pragma once

namespace store {
class TDM1;
struct DataLocation;
}  // namespace store

namespace app {

// The bank was refused as damaged: says so and, when there is a backup, offers the
// newest. True when the backup now stands in its place (the damaged file kept
// aside under a dated name), so that the bank may be opened again.
bool OfferRestore(const store::DataLocation& location);

// The first start of the day backs the open bank up; a backup that fails is said
// once and the program goes on.
void BackUpToday(store::TDM1& dm);

}  // namespace app
