#include "lookup.h"

namespace core {

namespace {
constexpr double ZZ = 2.302585093;  // ln 10
}

LogKLookup log10K_at(int reaction, double T, int NT) {
    const Table1<NTEMP, NREACT>& C = DDATA.CKP;
    double ANT = 100.0 / T;
    double ANTSQ = ANT * ZZ / T;
    if (NT == NTEMP) {
        // At 5000 K there is no row 51: the value is row 50's, and the slope that of the
        // last interval, rows 49 to 50.
        int lo = NTEMP - 1, hi = NTEMP;
        double slope = -(C(lo, reaction) - C(hi, reaction)) * lo * hi * ANTSQ;
        return {C(NTEMP, reaction), slope};
    }
    // Rows outside the table are never asked for (EQMD stops below 100 K and above
    // 5000 K); should they be, the end interval's line is extended instead.
    if (NT < 1) NT = 1;
    if (NT > NTEMP - 1) NT = NTEMP - 1;
    int NTP = NT + 1;
    double CNT = C(NT, reaction), CNTP = C(NTP, reaction);
    double log10K = (CNT - CNTP) * NT * NTP * ANT + CNTP * NTP - CNT * NT;
    double slope = -(CNT - CNTP) * NT * NTP * ANTSQ;
    return {log10K, slope};
}

}  // namespace core
