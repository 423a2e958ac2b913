// Number of global operator new calls made so far by this test binary.
#pragma once

long long AllocationCount();
