// PER: the mixture properties of the products at T, P, F with the composition in
// equilibrium, and their derivatives by T, P and F.
//
// With X from EQMD and the species enthalpies SH from the tables:
//   AVM = sum X SM,  H = sum X SH / AVM,  R = RJOUL / AVM,  U = H - R T,
// and the derivatives follow with X moving by DXT, DXP, DXF. The temperature
// derivative of a species enthalpy is its tabulated cp, not the slope of the
// enthalpy table; the species enthalpies do not depend on P or F.
#include "lookup.h"
#include "routines.h"
#include "sermsg.h"
#include "state.h"

namespace core {

namespace {

PROP_t mixture_properties() {
    const Vec1<13>& X = BLOC.X;
    const TAB_t& d = TAB;
    const double T = BLOC.T;

    Vec1<NSPEC> SH;
    for (int i = 1; i <= NSPEC; ++i) SH(i) = property_at(DDATA.HT, i, T);

    PROP_t p;
    double SHsum = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        p.AVM += X(i) * DDATA.SM(i);
        SHsum += X(i) * SH(i);
    }
    p.H = SHsum / p.AVM;
    p.R = DDCON.RJOUL / p.AVM;
    p.U = p.H - p.R * T;

    double DMT = 0, DMP = 0, DMF = 0, ST = 0, SP = 0, SF = 0;
    for (int i = 1; i <= NSPEC; ++i) {
        const double CP = property_at(DDATA.CT, i, T);
        DMT += DDATA.SM(i) * d.DXT(i);
        ST += d.DXT(i) * SH(i) + X(i) * CP;
        DMP += DDATA.SM(i) * d.DXP(i);
        SP += d.DXP(i) * SH(i);
        DMF += DDATA.SM(i) * d.DXF(i);
        SF += d.DXF(i) * SH(i);
    }
    p.DRT = -(p.R * DMT) / p.AVM;
    p.DHT = (ST - p.H * DMT) / p.AVM;
    p.DUT = p.DHT - p.R - T * p.DRT;
    p.DRP = -(p.R * DMP) / p.AVM;
    p.DHP = (SP - p.H * DMP) / p.AVM;
    p.DUP = p.DHP - T * p.DRP;
    p.DRF = -(p.R * DMF) / p.AVM;
    p.DHF = (SF - p.H * DMF) / p.AVM;
    p.DUF = p.DHF - T * p.DRF;
    return p;
}

}  // namespace

void PER() {
    GGCNTL.IERQ = 0;
    const double T = BLOC.T;
    if (T <= PER_T_LOW) {
        SERMSG(1, "PER   ", "GP01");  // ends the run
        return;
    }
    if (!(T <= PER_T_HIGH)) {  // also a temperature that is no number
        SERMSG(1, "PER   ", "GP02");
        return;
    }
    EQMD();
    if (GGCNTL.IERQ != 0) {
        SERMSG(0, "PER   ", "GP03");  // PROP keeps the values of the last success
        return;
    }
    PROP = mixture_properties();
}

}  // namespace core
