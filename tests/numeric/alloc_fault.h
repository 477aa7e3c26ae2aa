// Fault injection for the numerical core's storage: makes a chosen non-throwing array
// allocation fail, so the failure paths can be exercised. Defined in test_onebased.cpp.
#pragma once

namespace alloc_fault {

// The nth non-throwing array allocation from now on (1 = the next one) returns nullptr;
// later ones succeed again.
void fail_nth(int nth);

// Cancels a failure that has not happened yet; returns whether one was still pending.
bool disarm();

}  // namespace alloc_fault
