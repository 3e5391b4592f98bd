// The core routines called by the drivers. None takes arguments: they work on the
// state groups of state.h.
#pragma once

namespace core {

// Loads GPROP.DAT (unit 7): constants, species tables, equilibrium constants, oxidizer.
void TABLES();
// Mixture properties at T, P, F with the equilibrium composition (calls EQMD).
void PER();
// Equilibrium composition and its sensitivities at T, P, F.
void EQMD();

}  // namespace core
