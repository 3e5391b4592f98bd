// The Newton system of EQMD: the Jacobian against differences of the residuals, entry
// by entry, and the linear solve with its conditional pivoting.
#include <gtest/gtest.h>

#include <cmath>

#include "eqmd.h"
#include "eqmd_support.h"
#include "state.h"

using namespace core;
using namespace core::eqmd_detail;
using namespace eqmd_testing;

namespace {

constexpr int VARIABLE[4] = {4, 6, 8, 11};

// The set-up of a call for a problem, with chosen solution variables (not converged).
Work setup(const Problem& p, const double (&vars)[4]) {
    EXPECT_TRUE(fresh_run_state());
    pose(p);
    Work w;
    atom_sums(w);
    ratios_and_constants(w);
    for (int n = 0; n < 4; ++n) BLOC.X(VARIABLE[n]) = vars[n];
    return w;
}

Vec1<4> residuals(Work& w) {
    dependent_species(w);
    assemble_residuals(w);
    return w.B;
}

TEST(NewtonSystem, JacobianIsTheDerivativeOfTheBalances) {
    const Problem problems[] = {{1, 4, 0, 0, 0.8, 2450, ATM}, {2, 6, 1, 1, 1.7, 3150, 0.3 * ATM}};
    const double vars[4] = {0.02, 0.05, 0.01, 0.6};
    for (const Problem& p : problems) {
        SCOPED_TRACE(describe(p));
        Work w = setup(p, vars);
        dependent_species(w);
        assemble_jacobian(w);
        const Mat4 A = w.A;
        for (int j = 1; j <= 4; ++j) {
            const int v = VARIABLE[j - 1];
            const double h = 1e-6 * vars[j - 1];
            BLOC.X(v) = vars[j - 1] + h;
            const Vec1<4> up = residuals(w);
            BLOC.X(v) = vars[j - 1] - h;
            const Vec1<4> down = residuals(w);
            BLOC.X(v) = vars[j - 1];
            // A holds the derivative of left minus right side; B is right minus left.
            for (int i = 1; i <= 4; ++i)
                EXPECT_NEAR(A(i, j), -(up(i) - down(i)) / (2 * h), 1e-7 * (std::abs(A(i, j)) + 1))
                    << "A(" << i << "," << j << ")";
        }
    }
}

// A system with a known solution, by the elimination as EQMD runs it.
int solve_for(Mat4 A, const double (&x)[4], Vec1<4>& delta) {
    Work w;
    w.A = A;
    for (int i = 1; i <= 4; ++i) {
        w.B(i) = 0;
        for (int j = 1; j <= 4; ++j) w.B(i) += A(i, j) * x[j - 1];
    }
    const int code = solve_newton_system(w);
    delta = w.B;
    return code;
}

Mat4 matrix(const double (&rows)[4][4]) {
    Mat4 A;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) A(i, j) = rows[i - 1][j - 1];
    return A;
}

TEST(NewtonSystem, SolvesWithAndWithoutRowExchanges) {
    const double x[4] = {1, -2, 3, 0.5};
    Vec1<4> d;
    // Well-scaled pivots: no exchange needed.
    ASSERT_EQ(solve_for(matrix({{4, 1, 0, 1}, {1, 5, 1, 0}, {0, 1, 6, 1}, {1, 0, 1, 7}}), x, d), OK);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(d(i), x[i - 1], 1e-14);
    // A zero first pivot: the rows are exchanged.
    ASSERT_EQ(solve_for(matrix({{0, 1, 0, 1}, {3, 5, 1, 0}, {0, 1, 6, 1}, {1, 0, 1, 7}}), x, d), OK);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(d(i), x[i - 1], 1e-14);
}

TEST(NewtonSystem, SmallPivotWithNothingLargerBelowIsUsed) {
    // Column 1 holds only 1E-8 on the diagonal and zeros below: no exchange, no failure.
    const double x[4] = {2, 1, -1, 3};
    Vec1<4> d;
    ASSERT_EQ(solve_for(matrix({{1e-8, 1, 0, 0}, {0, 2, 1, 0}, {0, 1, 3, 1}, {0, 0, 1, 4}}), x, d), OK);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(d(i), x[i - 1], 1e-6 * std::abs(x[i - 1]));
}

TEST(NewtonSystem, ColumnOfZerosOrZeroLastPivotIsSingular) {
    const double x[4] = {1, 1, 1, 1};
    Vec1<4> d;
    EXPECT_EQ(solve_for(matrix({{1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}, {0, 0, 0, 1}}), x, d),
              SINGULAR);  // column 2 below the diagonal is all zero
    EXPECT_EQ(solve_for(matrix({{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 3}}), x, d),
              SINGULAR);  // the last row is the sum of the others
}

}  // namespace
