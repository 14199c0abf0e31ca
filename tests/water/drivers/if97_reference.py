#!/usr/bin/env python3
"""IAPWS-IF97 region 3 (Eq. 28, Table 30) and the region-2 ideal-gas term (Eq. 16, Table 10) in
50-digit arithmetic from the published coefficients, derivatives term by term, independent of the
library; at the doubles the tests pass (T [K], V [m3/kmol], v the double V / 18.0152). Run as
    python3 tests/water/drivers/if97_reference.py > tests/water/drivers/if97_reference.txt
"""
from mpmath import mp, mpf, log

mp.dps = 50
R, M, TC, RHOC = mpf("0.461526"), 18.0152, mpf("647.096"), mpf(322)  # kJ/(kg K), kg/kmol

# IF97 Table 30: n1 (of ln delta), then (I, J, n) of rows 2..40.
N1 = mpf("0.10658070028513E+01")
TABLE30 = [
    (0, 0, "-0.15732845290239E+02"), (0, 1, "0.20944396974307E+02"), (0, 2, "-0.76867707878716E+01"),
    (0, 7, "0.26185947787954E+01"), (0, 10, "-0.28080781148620E+01"), (0, 12, "0.12053369696517E+01"),
    (0, 23, "-0.84566812812502E-02"), (1, 2, "-0.12654315477714E+01"), (1, 6, "-0.11524407806681E+01"),
    (1, 15, "0.88521043984318E+00"), (1, 17, "-0.64207765181607E+00"), (2, 0, "0.38493460186671E+00"),
    (2, 2, "-0.85214708824206E+00"), (2, 6, "0.48972281541877E+01"), (2, 7, "-0.30502617256965E+01"),
    (2, 22, "0.39420536879154E-01"), (2, 26, "0.12558408424308E+00"), (3, 0, "-0.27999329698710E+00"),
    (3, 2, "0.13899799569460E+01"), (3, 4, "-0.20189915023570E+01"), (3, 16, "-0.82147637173963E-02"),
    (3, 26, "-0.47596035734923E+00"), (4, 0, "0.43984074473500E-01"), (4, 2, "-0.44476435428739E+00"),
    (4, 4, "0.90572070719733E+00"), (4, 26, "0.70522450087967E+00"), (5, 1, "0.10770512626332E+00"),
    (5, 3, "-0.32913623258954E+00"), (5, 26, "-0.50871062041158E+00"), (6, 0, "-0.22175400873096E-01"),
    (6, 2, "0.94260751665092E-01"), (6, 26, "0.16436278447961E+00"), (7, 2, "-0.13503372241348E-01"),
    (8, 26, "-0.14834345352472E-01"), (9, 2, "0.57922953628084E-03"), (9, 26, "0.32308904703711E-02"),
    (10, 0, "0.80964802996215E-04"), (10, 1, "-0.16557679795037E-03"), (11, 26, "-0.44923899061815E-04"),
]
# IF97 Table 10: (J0, n0) of the region-2 ideal-gas term.
TABLE10 = [(0, "-0.96927686500217E+01"), (1, "0.10086655968018E+02"), (-5, "-0.56087911283020E-02"),
           (-4, "0.71452738081455E-01"), (-3, "-0.40710498223928E+00"), (-2, "0.14240819171444E+01"),
           (-1, "-0.43839511319450E+01"), (2, "-0.28408632460772E+00"), (3, "0.21268463753307E-01")]


class Region3:
    """Region 3 at T [K] and rho [kg/m3]: phi of Eq. 28 and its derivatives d, dd, t, tt, dt."""

    def __init__(self, t, rho):
        self.t, self.rho = mpf(t), mpf(rho)
        d, tau = self.delta, self.tau = self.rho / RHOC, TC / self.t
        self.f, self.fd, self.fdd = N1 * log(d), N1 / d, -N1 / d**2
        self.ft = self.ftt = self.fdt = mpf(0)
        for i, j, n in TABLE30:  # the (i - 1) and (j - 1) factors zero the terms that drop out
            n = mpf(n)
            self.f += n * d**i * tau**j
            self.fd += n * i * d**(i - 1) * tau**j if i >= 1 else 0
            self.fdd += n * i * (i - 1) * d**(i - 2) * tau**j if i >= 2 else 0
            self.ft += n * j * d**i * tau**(j - 1) if j >= 1 else 0
            self.ftt += n * j * (j - 1) * d**i * tau**(j - 2) if j >= 2 else 0
            self.fdt += n * i * j * d**(i - 1) * tau**(j - 1) if i >= 1 and j >= 1 else 0

    def pressure_mpa(self):
        return self.rho * R * self.t * self.delta * self.fd / 1000

    def cp(self):
        d, t = self.delta, self.tau
        a = d * self.fd - d * t * self.fdt
        return R * (-t**2 * self.ftt + a**2 / (2 * d * self.fd + d**2 * self.fdd))

    def ln_phi_at(self, p_mpa):  # ln(f/p) at the caller's p: (f + p v)/(R T) - gamma0_2(p, T)
        gamma0 = log(p_mpa) + sum(mpf(n) * (mpf(540) / self.t)**j for j, n in TABLE10)
        return self.f + 1000 * p_mpa / (self.rho * R * self.t) - gamma0


def row(key, *values):
    """One line: KEY, then each value exactly (a double) or to 17 digits."""
    print(key, *[repr(x) if isinstance(x, float) else mp.nstr(x, 17, min_fixed=-1, max_fixed=-1)
                 for x in values])


def main():
    print("# Written by if97_reference.py: IAPWS-IF97 region 3 in 50-digit arithmetic from the")
    print("# published coefficients. Do not edit; run the script instead.")
    print("# critical: p [MPa], (dp/dv)_T [kPa kg/m3], (dp/dT)_v [kPa/K] at 647.096 K, 322 kg/m3")
    c = Region3(TC, RHOC)
    dp_dv = -c.rho**2 * R * c.t * (2 * c.delta * c.fd + c.delta**2 * c.fdd)
    row("critical", c.pressure_mpa(), dp_dv, c.rho * R * c.delta * (c.fd - c.tau * c.fdt))
    # Beside the fixed-value box of the region-3 cp (|rho - 322| <= 0.03 kg/m3,
    # |T - 647.096| <= 1e-6 K), and at the states of IF97 Table 33.
    print("# cp: T [K], molar volume [m3/kmol], |cp|, cv [kJ/(kg K)]")
    tc = 647.096
    for t, rho in [(tc, 322.035), (tc, 321.965), (tc + 1.5e-6, 322.0), (tc - 1.5e-6, 322.0),
                   (tc + 1.5e-6, 322.02), (650.0, 500.0), (650.0, 200.0), (750.0, 500.0)]:
        s = Region3(mpf(t), 1 / mpf(M / rho / M))  # v: the double quotient V / M
        row("cp", t, M / rho, abs(s.cp()), -R * s.tau**2 * s.ftt)
    # ln(f/p) at a caller's pressure that differs from p3(T, V), and at one where it agrees.
    print("# fugacity: T [K], molar volume [m3/kmol], P [Pa], ln(f/p), region-3 p(T, V) [Pa]")
    for t, rho, p_pa in [(650.0, 500.0, 30e6), (650.0, 200.0, 20e6), (750.0, 500.0, 90e6),
                         (700.0, 400.0, 40e6), (650.0, 500.0, 25583701.8)]:
        s = Region3(mpf(t), 1 / mpf(M / rho / M))
        row("fugacity", t, M / rho, p_pa, s.ln_phi_at(mpf(p_pa) / 10**6), s.pressure_mpa() * 10**6)


if __name__ == "__main__":
    main()
