#!/usr/bin/env python3
"""Independent high-precision evaluation of IAPWS-IF97 region 3 for the water
driver tests.

Evaluates the region-3 Helmholtz energy (IF97 Eq. 28, Table 30) and the
region-2 ideal-gas part (IF97 Eq. 16, Table 10) in 50-digit arithmetic with
mpmath, term by term from the published coefficients, with derivatives taken
analytically term by term, and writes the data file the C++ tests read:

    python3 tests/water/drivers/if97_reference.py > tests/water/drivers/if97_reference.txt

States are given as the exact double values the tests pass (temperature in K,
molar volume in m3/kmol); the specific volume is the double quotient
V / 18.0152, as the dispatcher forms it.
"""
from mpmath import mp, mpf, log

mp.dps = 50

R = mpf("0.461526")  # kJ/(kg K), IF97 Eq. 1
MOLAR_MASS = 18.0152  # kg/kmol
ENERGY = mpf("18015.2")  # kJ/kg -> J/kmol
TC = mpf("647.096")
RHOC = mpf(322)

# IF97 Table 30: n1 (coefficient of ln delta), then (I, J, n) of rows 2..40.
N1 = mpf("0.10658070028513E+01")
TABLE30 = [
    (0, 0, "-0.15732845290239E+02"), (0, 1, "0.20944396974307E+02"),
    (0, 2, "-0.76867707878716E+01"), (0, 7, "0.26185947787954E+01"),
    (0, 10, "-0.28080781148620E+01"), (0, 12, "0.12053369696517E+01"),
    (0, 23, "-0.84566812812502E-02"), (1, 2, "-0.12654315477714E+01"),
    (1, 6, "-0.11524407806681E+01"), (1, 15, "0.88521043984318E+00"),
    (1, 17, "-0.64207765181607E+00"), (2, 0, "0.38493460186671E+00"),
    (2, 2, "-0.85214708824206E+00"), (2, 6, "0.48972281541877E+01"),
    (2, 7, "-0.30502617256965E+01"), (2, 22, "0.39420536879154E-01"),
    (2, 26, "0.12558408424308E+00"), (3, 0, "-0.27999329698710E+00"),
    (3, 2, "0.13899799569460E+01"), (3, 4, "-0.20189915023570E+01"),
    (3, 16, "-0.82147637173963E-02"), (3, 26, "-0.47596035734923E+00"),
    (4, 0, "0.43984074473500E-01"), (4, 2, "-0.44476435428739E+00"),
    (4, 4, "0.90572070719733E+00"), (4, 26, "0.70522450087967E+00"),
    (5, 1, "0.10770512626332E+00"), (5, 3, "-0.32913623258954E+00"),
    (5, 26, "-0.50871062041158E+00"), (6, 0, "-0.22175400873096E-01"),
    (6, 2, "0.94260751665092E-01"), (6, 26, "0.16436278447961E+00"),
    (7, 2, "-0.13503372241348E-01"), (8, 26, "-0.14834345352472E-01"),
    (9, 2, "0.57922953628084E-03"), (9, 26, "0.32308904703711E-02"),
    (10, 0, "0.80964802996215E-04"), (10, 1, "-0.16557679795037E-03"),
    (11, 26, "-0.44923899061815E-04"),
]
# IF97 Table 10: (J0, n0) of the region-2 ideal-gas part.
TABLE10 = [
    (0, "-0.96927686500217E+01"), (1, "0.10086655968018E+02"),
    (-5, "-0.56087911283020E-02"), (-4, "0.71452738081455E-01"),
    (-3, "-0.40710498223928E+00"), (-2, "0.14240819171444E+01"),
    (-1, "-0.43839511319450E+01"), (2, "-0.28408632460772E+00"),
    (3, "0.21268463753307E-01"),
]


def phi3(delta, tau):
    """phi and its derivatives d, dd, t, tt, dt of IF97 Eq. 28."""
    f = N1 * log(delta)
    fd = N1 / delta
    fdd = -N1 / delta**2
    ft = ftt = fdt = mpf(0)
    for i, j, n in TABLE30:
        n = mpf(n)
        f += n * delta**i * tau**j
        if i >= 1:
            fd += n * i * delta**(i - 1) * tau**j
        if i >= 2:
            fdd += n * i * (i - 1) * delta**(i - 2) * tau**j
        if j >= 1:
            ft += n * j * delta**i * tau**(j - 1)
        if j >= 2:
            ftt += n * j * (j - 1) * delta**i * tau**(j - 2)
        if i >= 1 and j >= 1:
            fdt += n * i * j * delta**(i - 1) * tau**(j - 1)
    return f, fd, fdd, ft, ftt, fdt


def gamma0_region2(p_mpa, t):
    tau = mpf(540) / t
    return log(p_mpa) + sum(mpf(n) * tau**j for j, n in TABLE10)


class Region3State:
    """Region 3 at temperature t [K] and density rho [kg/m3]."""

    def __init__(self, t, rho):
        self.t = mpf(t)
        self.rho = mpf(rho)
        self.delta = self.rho / RHOC
        self.tau = TC / self.t
        (self.f, self.fd, self.fdd, self.ft, self.ftt, self.fdt) = phi3(self.delta, self.tau)

    def pressure_mpa(self):
        return self.rho * R * self.t * self.delta * self.fd / 1000

    def cv(self):
        return -R * self.tau**2 * self.ftt

    def cp(self):
        d, t = self.delta, self.tau
        a = d * self.fd - d * t * self.fdt
        return R * (-t**2 * self.ftt + a**2 / (2 * d * self.fd + d**2 * self.fdd))

    def dp_dv_kpa(self):
        """(dp/dv)_T [kPa kg/m3]."""
        d = self.delta
        return -self.rho**2 * R * self.t * (2 * d * self.fd + d**2 * self.fdd)

    def dp_dt_kpa(self):
        """(dp/dT)_v [kPa/K]."""
        return self.rho * R * self.delta * (self.fd - self.tau * self.fdt)

    def ln_phi_at(self, p_mpa):
        """ln(f/p) at the caller's pressure p: (f + p v)/(R T) - gamma0_2(p, T)."""
        g_over_rt = self.f + 1000 * p_mpa / (self.rho * R * self.t)
        return g_over_rt - gamma0_region2(p_mpa, self.t)


def molar_state(t, molar_volume):
    """The region-3 state at the double specific volume V / M of the dispatcher."""
    v = molar_volume / MOLAR_MASS  # IEEE double quotient, as the C++ code forms it
    return Region3State(mpf(t), 1 / mpf(v))


def row(key, *values):
    """One line: KEY, then each value exactly (a double) or to 17 digits."""
    words = [repr(x) if isinstance(x, float) else mp.nstr(x, 17, min_fixed=-1, max_fixed=-1)
             for x in values]
    print(key, *words)


def main():
    print("# Written by if97_reference.py: IAPWS-IF97 region 3 in 50-digit arithmetic from the")
    print("# published coefficients. Do not edit; run the script instead.")
    print("# critical: p [MPa], (dp/dv)_T [kPa kg/m3], (dp/dT)_v [kPa/K] at 647.096 K, 322 kg/m3")
    crit = Region3State(TC, RHOC)
    row("critical", crit.pressure_mpa(), crit.dp_dv_kpa(), crit.dp_dt_kpa())
    # Heat capacities beside the fixed-value box of the region-3 cp
    # (|rho - 322| <= 0.03 kg/m3, |T - 647.096| <= 1e-6 K), and at the states
    # of IF97 Table 33.
    print("# cp: T [K], molar volume [m3/kmol], |cp|, cv [kJ/(kg K)]")
    tc = 647.096
    for t, vm in [(tc, MOLAR_MASS / 322.035), (tc, MOLAR_MASS / 321.965),
                  (tc + 1.5e-6, MOLAR_MASS / 322.0), (tc - 1.5e-6, MOLAR_MASS / 322.0),
                  (tc + 1.5e-6, MOLAR_MASS / 322.02), (650.0, MOLAR_MASS / 500.0),
                  (650.0, MOLAR_MASS / 200.0), (750.0, MOLAR_MASS / 500.0)]:
        s = molar_state(t, vm)
        row("cp", t, vm, abs(s.cp()), s.cv())
    # ln(f/p) at (T, V) and a caller's pressure that differs from the
    # region-3 pressure of (T, V), and at one where it agrees.
    print("# fugacity: T [K], molar volume [m3/kmol], P [Pa], ln(f/p), region-3 p(T, V) [Pa]")
    for t, rho, p_pa in [(650.0, 500.0, 30e6), (650.0, 200.0, 20e6), (750.0, 500.0, 90e6),
                         (700.0, 400.0, 40e6), (650.0, 500.0, 25583701.8)]:
        vm = MOLAR_MASS / rho
        s = molar_state(t, vm)
        row("fugacity", t, vm, p_pa, s.ln_phi_at(mpf(p_pa) / 10**6), s.pressure_mpa() * 10**6)


if __name__ == "__main__":
    main()
