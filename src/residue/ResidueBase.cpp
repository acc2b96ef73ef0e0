#include "residue/ResidueBase.h"

ResidueBase::ResidueBase() : residue('X') {}

ResidueBase::ResidueBase(char residue) : residue(residue) {}

ResidueBase::~ResidueBase() = default;
