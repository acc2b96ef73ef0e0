#pragma once

#include <cstdint>

/// Bytes the program holds through operator new (standard containers, the renderer's tables), and the
/// highest value since the last ResetPeak. Pixel memory of QPixmap/QImage is allocated by Qt with malloc
/// and is not counted, so the figures describe the renderer's tables, not its pixmaps.
namespace HeapCounter {

std::int64_t Live();
std::int64_t Peak();
void ResetPeak();

}  // namespace HeapCounter
