// TABLES: loads GPROP.DAT (unit 7) into DDCON and DDATA and fixes the oxidizer in DDAIR;
// the species' S(298.15) of the headers go to the entropy tables DDENT (entropy.h).
//
// The file holds calories and moles; the tables are converted to J/kmol and
// J/(kmol K) on loading. Nothing is checked: a missing file, a missing record or a field
// that is not a number ends the run through the input/output error report, and a file
// with its blocks in another order loads without complaint. The file stays open.
#include "entropy.h"
#include "reads.h"
#include "routines.h"
#include "state.h"
#include "units.h"

namespace core {

namespace {

constexpr int kPointsPerRecord = 9;  // 8-column values, columns 1-72; a run of 50 fills 6 records

// One run of 50 table points, F8.3 (three implied decimals). The read starts on the next
// record and skips what lies after the last value.
Vec1<NTEMP> read_points(int unit) {
    Vec1<NTEMP> points;
    FieldReader r(unit);
    for (int J = 1; J <= NTEMP; ++J) {
        if (J > 1 && (J - 1) % kPointsPerRecord == 0) r.next_record();
        points(J) = r.F(8, 3);
    }
    return points;
}

}  // namespace

void TABLES() { load_tables("GPROP.DAT"); }

void load_tables(std::string_view file) {
    // Private fields: the file's unit, the loop counters, the reaction number and the
    // species header values: ENTR (kept in DDENT once CT is loaded) and HTO, read and not
    // used.
    const std::int32_t NUNIT = UNIT_TABLES;
    std::int32_t NREAC = 0;
    Vec1<NSPEC> ENTR, HTO, DHTO;
    DDCON_t& c = DDCON;
    DDATA_t& d = DDATA;

    open_unit(NUNIT, file, OpenStatus::Old, "207 lines");
    DDAIR = DDAIR_t{3.76, 0.0, 0.0, 0.0};  // air: 3.76 N2 per O2
    rewind_unit(NUNIT);

    read_record(NUNIT);  // the title
    {
        FieldReader r(NUNIT);  // 10X, F10.0, 10X, F10.0, 10X, F10.0
        r.X(10);
        c.GRCAL = r.F(10, 0);
        r.X(10);
        c.CALTOJ = r.F(10, 0);
        r.X(10);
        c.PSATM = r.F(10, 0);
    }
    c.RJOUL = c.CALTOJ * c.GRCAL * 1000.0;

    for (int I = 1; I <= NSPEC; ++I) {
        {
            FieldReader r(NUNIT);  // 20X, 4F10.0: name skipped
            r.X(20);
            d.SM(I) = r.F(10, 0);
            ENTR(I) = r.F(10, 0);
            HTO(I) = r.F(10, 0);
            DHTO(I) = r.F(10, 0);
        }
        Vec1<NTEMP> H = read_points(NUNIT);
        Vec1<NTEMP> CP = read_points(NUNIT);
        for (int J = 1; J <= NTEMP; ++J) {
            // kcal/mol to J/kmol, the enthalpy of formation added before the scaling
            d.HT(J, I) = (H(J) + DHTO(I)) * c.CALTOJ * 1000000.0;
            d.CT(J, I) = CP(J) * c.CALTOJ * 1000.0;  // cal/(mol K) to J/(kmol K)
        }
    }

    load_entropy_tables(ENTR);

    for (int K = 1; K <= NREACT; ++K) {
        {
            FieldReader r(NUNIT);  // 15X, I1
            r.X(15);
            NREAC = r.I(1);
        }
        Vec1<NTEMP> LOGK = read_points(NUNIT);
        for (int J = 1; J <= NTEMP; ++J) d.CKP(J, K) = LOGK(J);  // no conversion
    }
    (void)NREAC;  // read and not used, as HTO
}

}  // namespace core
