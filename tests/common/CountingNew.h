// Number of global operator new calls made so far by this test binary.
#pragma once

long long AllocationCount();
// Makes every later operator new of more than `bytes` bytes throw std::bad_alloc (0: no limit),
// to show how code copes with memory it cannot get.
void SetLargestAllocation(unsigned long long bytes);
