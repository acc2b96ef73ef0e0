#include "residue/PenCaches.h"

#include <QColor>
#include <map>

namespace {

using PenMap = std::map<unsigned, QPen>;
using BrushMap = std::map<unsigned, QBrush>;

// Function-local and one per thread: created on first use, and filled by each thread that draws.
PenMap& ResiduePens() {
    thread_local PenMap pens;
    return pens;
}
PenMap& LinePens() {
    thread_local PenMap pens;
    return pens;
}
PenMap& CaretPens() {
    thread_local PenMap pens;
    return pens;
}
BrushMap& CaretBrushes() {
    thread_local BrushMap brushes;
    return brushes;
}

// References stay valid: std::map never moves its elements.
const QPen& FindOrAddPen(PenMap& pens, unsigned colour) {
    auto found = pens.find(colour);
    if (found == pens.end()) {
        found = pens.emplace(colour, QPen(QColor(QRgb(colour)), 1)).first;
    }
    return found->second;
}

}  // namespace

const QPen& PenCaches::ResiduePen(unsigned colour) {
    return FindOrAddPen(ResiduePens(), colour);
}

const QPen& PenCaches::LinePen(unsigned colour) {
    return FindOrAddPen(LinePens(), colour);
}

const QPen& PenCaches::CaretPen(unsigned colour) {
    return FindOrAddPen(CaretPens(), colour);
}

const QBrush& PenCaches::CaretBrush(unsigned colour) {
    BrushMap& brushes = CaretBrushes();
    auto found = brushes.find(colour);
    if (found == brushes.end()) {
        found = brushes.emplace(colour, QBrush(QColor(QRgb(colour)), Qt::SolidPattern)).first;
    }
    return found->second;
}

std::size_t PenCaches::ResiduePenCount() {
    return ResiduePens().size();
}

std::size_t PenCaches::LinePenCount() {
    return LinePens().size();
}

std::size_t PenCaches::CaretPenCount() {
    return CaretPens().size();
}

std::size_t PenCaches::CaretBrushCount() {
    return CaretBrushes().size();
}
