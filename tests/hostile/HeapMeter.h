#pragma once
// Counts the bytes the program holds through operator new, with the highest
// count seen since the last reset: a load's peak memory is the peak minus what
// was held before it. Linking HeapMeter.cpp replaces the global operator new.
#include <cstddef>

namespace qs::hostile {

std::size_t heapInUse();
std::size_t heapPeak();
// Starts a new peak from what is held now.
void resetHeapPeak();

}  // namespace qs::hostile
