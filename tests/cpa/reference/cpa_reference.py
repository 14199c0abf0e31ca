#!/usr/bin/python3
"""Independent evaluation of the CPA equation of state for the CPA tests.

Evaluates, in 50-digit arithmetic, the total residual Helmholtz energy of
the Soave-Redlich-Kwong plus Wertheim association model,

    F(T, V, n) = A_res/(R T)
               = -N ln(1 - B/V) - A/(B R T) ln(1 + B/V)
                 + sum_i n_i sum_A (ln X_Ai - X_Ai/2 + 1/2),

with N = sum n_i, B = sum n_i b_i, A = sum_ij n_i n_j sqrt(a_i a_j)(1 - k_ij),
the site fractions from the balances X_Ai = 1/(1 + sum_j (n_j/V) sum_B X_Bj
Delta_AiBj) solved by Newton's method to 1e-40, and the strengths
Delta = g (exp(eps_ij/T) - 1) b_ij beta_ij, g = 1/(1 - 0.475 B/V),
b_ij = (b_i + b_j)/2. Cross parameters between two self-associating
components follow CR-1 (arithmetic mean energy, geometric mean volume); a
solvating pair carries its own cross energy and volume.

Pressure, ln phi, enthalpy and entropy come from numerical derivatives of F
(central differences at 50 digits with steps of 1e-20, relative in T and V,
in kmol for the amounts, whose error is far below double precision); the volume root at (T, P) is bracketed on a
grid and refined by Anderson-Bjorck's bracketing secant. The table it writes,
cpa_reference.txt, is read by tests/cpa/reference_test.cpp.

Run: /usr/bin/python3 tests/cpa/reference/cpa_reference.py (needs mpmath).
"""

import os

import mpmath as mp

mp.mp.dps = 50

R = mp.mpf("8314.33")          # J/(kmol K)
PREF = mp.mpf("101325")        # Pa
OMEGA_A = mp.mpf("0.42748025")
OMEGA_B = mp.mpf("0.08664035")


class Comp:
    """One component: critical constants, alpha slope, association energy
    [K], volume and sites (+1 donor, -1 acceptor)."""

    def __init__(self, name, tc, pc, m, eps, beta, sites, water_alpha=False):
        self.name = name
        self.tc, self.pc, self.m = mp.mpf(tc), mp.mpf(pc), mp.mpf(m)
        self.eps, self.beta = mp.mpf(eps), mp.mpf(beta)
        self.sites = sites
        self.water_alpha = water_alpha
        self.ac = OMEGA_A * (R * self.tc) ** 2 / self.pc
        self.b = OMEGA_B * R * self.tc / self.pc

    def a(self, t):
        if self.water_alpha:
            s = mp.mpf("1.096357606") * mp.exp(-mp.mpf("0.15114") * t / mp.mpf("41.666667"))
        else:
            s = 1 + self.m * (1 - mp.sqrt(t / self.tc))
        return self.ac * s * s


# Published CPA sets (water 4C, methanol 2B, methane inert) as the
# pseudo-critical constants of reference/cpa-test-parameters.md.
def water(**kw):
    return Comp("water", "303.17135848344367", "15045914.360250035", "0.38016508919624575",
                "2003.1367040072357", "0.0692", [+1, +1, -1, -1], **kw)


def methanol():
    return Comp("methanol", "364.4383820278336", "8495972.27212533", "0.3403877229534356",
                "2957.618414184445", "0.0161", [+1, -1])


def methane(sites=()):
    return Comp("methane", "193.18592912809845", "4782224.476403621", "0.4516575760558059",
                0, 0, list(sites))


class Mixture:
    """Components, k_ij(T) = c1 + c2 T/298.15 per ordered pair, and cross
    association (eps, beta) per pair where CR-1 does not apply."""

    def __init__(self, comps, kij=None, cross=None):
        self.c = comps
        self.kij = kij or {}
        self.cross = cross or {}
        self._last = []

    def k(self, i, j, t):
        c1, c2 = self.kij.get((i, j), (0, 0))
        return mp.mpf(c1) + mp.mpf(c2) * t / mp.mpf("298.15")

    def cross_params(self, i, j):
        if (i, j) in self.cross:
            return self.cross[(i, j)]
        if (j, i) in self.cross:
            return self.cross[(j, i)]
        ci, cj = self.c[i], self.c[j]
        if ci.beta != 0 and cj.beta != 0:
            return (ci.eps + cj.eps) / 2, mp.sqrt(ci.beta * cj.beta)
        return None

    def site_fractions(self, t, v, n, bsum):
        """Site fractions (list of lists) from Newton's method on the balances."""
        g = 1 / (1 - mp.mpf("0.475") * bsum / v)
        sites = [(i, s) for i, c in enumerate(self.c) for s in range(len(c.sites))]
        if not sites:
            return [[] for _ in self.c]
        nsite = len(sites)
        # K[p][q] = (n_j/V) Delta between site p (of i) and site q (of j).
        kmat = [[mp.mpf(0)] * nsite for _ in range(nsite)]
        for p, (i, a) in enumerate(sites):
            for q, (j, bb) in enumerate(sites):
                if self.c[i].sites[a] * self.c[j].sites[bb] >= 0:
                    continue
                cp = self.cross_params(i, j)
                if cp is None:
                    continue
                eps, beta = cp
                bij = (self.c[i].b + self.c[j].b) / 2
                delta = g * (mp.exp(eps / t) - 1) * bij * beta
                kmat[p][q] = n[j] / v * delta
        # Start from the previous solution of the same size (the derivative
        # steps move it little), else from one half.
        x = list(self._last) if len(self._last) == nsite else [mp.mpf("0.5")] * nsite
        if any(not (0 < y < 2) for y in x):
            x = [mp.mpf("0.5")] * nsite
        for _ in range(200):
            f = [x[p] * (1 + mp.fsum(kmat[p][q] * x[q] for q in range(nsite))) - 1
                 for p in range(nsite)]
            jac = mp.matrix(nsite, nsite)
            for p in range(nsite):
                for q in range(nsite):
                    jac[p, q] = x[p] * kmat[p][q]
                jac[p, p] += 1 + mp.fsum(kmat[p][q] * x[q] for q in range(nsite))
            step = mp.lu_solve(jac, mp.matrix(f))
            # Keep the fractions positive: halve a step that leaves them.
            # (A negative amount in a difference step may take one above 1.)
            lam = mp.mpf(1)
            while True:
                trial = [x[p] - lam * step[p] for p in range(nsite)]
                if all(y > 0 for y in trial):
                    break
                lam /= 2
            x = trial
            if max(abs(s) for s in step) < mp.mpf("1e-45"):
                break
        else:
            raise RuntimeError("site balance did not converge")
        self._last = x
        out = [[] for _ in self.c]
        for p, (i, _) in enumerate(sites):
            out[i].append(x[p])
        return out

    def helmholtz(self, t, v, n):
        """F = A_res/(R T) of the amounts n [kmol] in the volume v [m3]."""
        ntot = mp.fsum(n)
        bsum = mp.fsum(n[i] * c.b for i, c in enumerate(self.c))
        a = [c.a(t) for c in self.c]
        asum = mp.fsum(n[i] * n[j] * mp.sqrt(a[i] * a[j]) * (1 - (self.k(i, j, t) if i != j else 0))
                       for i in range(len(n)) for j in range(len(n)))
        f = -ntot * mp.log(1 - bsum / v) - asum / (bsum * R * t) * mp.log(1 + bsum / v)
        xs = self.site_fractions(t, v, n, bsum)
        for i, xi in enumerate(xs):
            f += n[i] * mp.fsum(mp.log(y) - y / 2 + mp.mpf("0.5") for y in xi)
        return f

    # Derivatives by central differences at 50 digits.
    def d_dv(self, t, v, n):
        h = v * mp.mpf("1e-20")
        return (self.helmholtz(t, v + h, n) - self.helmholtz(t, v - h, n)) / (2 * h)

    def d_dt(self, t, v, n):
        h = t * mp.mpf("1e-20")
        return (self.helmholtz(t + h, v, n) - self.helmholtz(t - h, v, n)) / (2 * h)

    def d_dn(self, t, v, n, i):
        h = mp.mpf("1e-20")
        up = list(n)
        dn = list(n)
        up[i] += h
        dn[i] -= h
        return (self.helmholtz(t, v, up) - self.helmholtz(t, v, dn)) / (2 * h)

    def pressure(self, t, v, x):
        """Pressure [Pa] of one kmol of composition x in the volume v."""
        return R * t * (1 / v - self.d_dv(t, v, x))

    def root(self, t, p, x, liquid):
        """Liquid (smallest) or vapour (largest) volume root at (T, P)."""
        bmix = mp.fsum(x[i] * c.b for i, c in enumerate(self.c))
        grid = [bmix * (1 + mp.mpf(10) ** (mp.mpf(k) / 16 - 4)) for k in range(0, 129)]
        vals = [self.pressure(t, v, x) - p for v in grid]
        brackets = [(grid[k], grid[k + 1]) for k in range(len(grid) - 1)
                    if vals[k] * vals[k + 1] <= 0]
        if not brackets:
            raise RuntimeError("no root bracketed")
        lo, hi = brackets[0] if liquid else brackets[-1]
        return mp.findroot(lambda v: self.pressure(t, v, x) / p - 1, (lo, hi),
                           solver="anderson", tol=mp.mpf("1e-60"))

    def properties(self, t, p, x, liquid):
        v = self.root(t, p, x, liquid)
        z = p * v / (R * t)
        f = self.helmholtz(t, v, x)
        fdt = self.d_dt(t, v, x)
        lnphi = [self.d_dn(t, v, x, i) - mp.log(z) for i in range(len(x))]
        rt = R * t
        dh = rt * (z - 1 - t * fdt)
        ds = R * (-f - t * fdt + mp.log(z) - mp.log(p / PREF))
        dg = rt * (f + z - 1 - mp.log(z) + mp.log(p / PREF))
        return v, z, lnphi, dh, ds, dg


def solvating_pair():
    # Methane given one acceptor site that solvates with water's donors:
    # half water's energy and water's volume (the flagged rule).
    w = water()
    return Mixture([w, methane(sites=[-1])], cross={(0, 1): (w.eps / 2, w.beta)})


KIJ_WATER_METHANOL = {(0, 1): ("-0.09", "0.01"), (1, 0): ("-0.03", "-0.02")}

# name, mixture, T [K], P [Pa], x, phase (2 liquid, 1 vapour)
CASES = [
    ("water_methanol_liquid", Mixture([water(), methanol()]), 320, 1e5, [0.6, 0.4], 2),
    ("water_methanol_vapour", Mixture([water(), methanol()]), 400, 1e5, [0.3, 0.7], 1),
    ("water_methanol_kij_liquid", Mixture([water(), methanol()], kij=KIJ_WATER_METHANOL),
     330, 2e5, [0.3, 0.7], 2),
    ("water_methane_liquid", Mixture([water(), methane()]), 350, 5e6, [0.98, 0.02], 2),
    ("water_methane_vapour", Mixture([water(), methane()]), 400, 2e6, [0.05, 0.95], 1),
    ("water_alpha_methane_liquid", Mixture([water(water_alpha=True), methane()]),
     350, 5e6, [0.98, 0.02], 2),
    ("solvating_liquid", solvating_pair(), 300, 1e6, [0.5, 0.5], 2),
    ("solvating_vapour", solvating_pair(), 380, 1e5, [0.1, 0.9], 1),
    ("solvating_water_absent", solvating_pair(), 300, 1e6, [0.0, 1.0], 1),
    ("water_methanol_methane_absent", Mixture([water(), methanol(), methane()]),
     300, 1e5, [1.0, 0.0, 0.0], 2),
    ("water_methanol_methane_one_absent", Mixture([water(), methanol(), methane()]),
     300, 1e5, [0.9, 0.1, 0.0], 2),
]


def fmt(v):
    return mp.nstr(v, 17, min_fixed=1, max_fixed=0)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    lines = ["# CPA reference values from cpa_reference.py (50-digit evaluation).",
             "# name phase T P N x(1..N) V Z lnphi(1..N) DH DS DG",
             "# units: K, Pa, m3/kmol, J/kmol, J/(kmol K); departures from the ideal gas at T, 101325 Pa"]
    for name, mix, t, p, x, phase in CASES:
        t, p = mp.mpf(t), mp.mpf(p)
        x = [mp.mpf(str(y)) for y in x]
        v, z, lnphi, dh, ds, dg = mix.properties(t, p, x, phase == 2)
        row = [name, str(phase), fmt(t), fmt(p), str(len(x))] + [fmt(y) for y in x]
        row += [fmt(v), fmt(z)] + [fmt(y) for y in lnphi] + [fmt(dh), fmt(ds), fmt(dg)]
        lines.append(" ".join(row))
        print(" ".join(row))
    with open(os.path.join(here, "cpa_reference.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
