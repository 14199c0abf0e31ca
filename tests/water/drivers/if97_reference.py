#!/usr/bin/env python3
"""IAPWS-IF97 region 3 (Eq. 28, Table 30) and the region-2 ideal-gas term (Eq. 16, Table 10) in
50-digit arithmetic from the published coefficients, derivatives term by term, independent of the
library; at the doubles the tests pass (T [K], V [m3/kmol], v the double V / 18.0152). Also the
transport bundle of states given by (P [bar], T [K], quality flag): the IAPWS 2008 viscosity and the
IAPWS 2011 thermal conductivity in its form for use with IF97 (viscosity enhancement factor 1, the
conductivity's critical term in region 2 below 973.15 K and in region 1 where p < 1.8 T - 751.4),
with v, cp, cv and (d rho/d p)_T from the Gibbs equations of regions 1, 2 and 5. Run as
    python3 tests/water/drivers/if97_reference.py > tests/water/drivers/if97_reference.txt
"""
from mpmath import mp, mpf, log, sqrt, exp, atan, pi, diff

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

# IF97 Tables 2, 11 and 38: (I, J, n) of regions 1, 2 (residual) and 5 (residual); Table 37: (J0, n0)
# of the region-5 ideal-gas term; Table 34: n1..n10 of the saturation line.
TABLE2 = [
    (0, -2, "0.14632971213167E+00"), (0, -1, "-0.84548187169114E+00"), (0, 0, "-0.37563603672040E+01"),
    (0, 1, "0.33855169168385E+01"), (0, 2, "-0.95791963387872E+00"), (0, 3, "0.15772038513228E+00"),
    (0, 4, "-0.16616417199501E-01"), (0, 5, "0.81214629983568E-03"), (1, -9, "0.28319080123804E-03"),
    (1, -7, "-0.60706301565874E-03"), (1, -1, "-0.18990068218419E-01"), (1, 0, "-0.32529748770505E-01"),
    (1, 1, "-0.21841717175414E-01"), (1, 3, "-0.52838357969930E-04"), (2, -3, "-0.47184321073267E-03"),
    (2, 0, "-0.30001780793026E-03"), (2, 1, "0.47661393906987E-04"), (2, 3, "-0.44141845330846E-05"),
    (2, 17, "-0.72694996297594E-15"), (3, -4, "-0.31679644845054E-04"), (3, 0, "-0.28270797985312E-05"),
    (3, 6, "-0.85205128120103E-09"), (4, -5, "-0.22425281908000E-05"), (4, -2, "-0.65171222895601E-06"),
    (4, 10, "-0.14341729937924E-12"), (5, -8, "-0.40516996860117E-06"),
    (8, -11, "-0.12734301741641E-08"), (8, -6, "-0.17424871230634E-09"),
    (21, -29, "-0.68762131295531E-18"), (23, -31, "0.14478307828521E-19"),
    (29, -38, "0.26335781662795E-22"), (30, -39, "-0.11947622640071E-22"),
    (31, -40, "0.18228094581404E-23"), (32, -41, "-0.93537087292458E-25"),
]
TABLE11 = [
    (1, 0, "-0.17731742473213E-02"), (1, 1, "-0.17834862292358E-01"), (1, 2, "-0.45996013696365E-01"),
    (1, 3, "-0.57581259083432E-01"), (1, 6, "-0.50325278727930E-01"), (2, 1, "-0.33032641670203E-04"),
    (2, 2, "-0.18948987516315E-03"), (2, 4, "-0.39392777243355E-02"), (2, 7, "-0.43797295650573E-01"),
    (2, 36, "-0.26674547914087E-04"), (3, 0, "0.20481737692309E-07"), (3, 1, "0.43870667284435E-06"),
    (3, 3, "-0.32277677238570E-04"), (3, 6, "-0.15033924542148E-02"), (3, 35, "-0.40668253562649E-01"),
    (4, 1, "-0.78847309559367E-09"), (4, 2, "0.12790717852285E-07"), (4, 3, "0.48225372718507E-06"),
    (5, 7, "0.22922076337661E-05"), (6, 3, "-0.16714766451061E-10"), (6, 16, "-0.21171472321355E-02"),
    (6, 35, "-0.23895741934104E+02"), (7, 0, "-0.59059564324270E-17"), (7, 11, "-0.12621808899101E-05"),
    (7, 25, "-0.38946842435739E-01"), (8, 8, "0.11256211360459E-10"), (8, 36, "-0.82311340897998E+01"),
    (9, 13, "0.19809712802088E-07"), (10, 4, "0.10406965210174E-18"), (10, 10, "-0.10234747095929E-12"),
    (10, 14, "-0.10018179379511E-08"), (16, 29, "-0.80882908646985E-10"),
    (16, 50, "0.10693031879409E+00"), (18, 57, "-0.33662250574171E+00"),
    (20, 20, "0.89185845355421E-24"), (20, 35, "0.30629316876232E-12"),
    (20, 48, "-0.42002467698208E-05"), (21, 21, "-0.59056029685639E-25"),
    (22, 53, "0.37826947613457E-05"), (23, 39, "-0.12768608934681E-14"),
    (24, 26, "0.73087610595061E-28"), (24, 40, "0.55414715350778E-16"),
    (24, 58, "-0.94369707241210E-06"),
]
TABLE37 = [(0, "-0.13179983674201E+02"), (1, "0.68540841634434E+01"), (-3, "-0.24805148933466E-01"),
           (-2, "0.36901534980333E+00"), (-1, "-0.31161318213925E+01"), (2, "-0.32961626538917E+00")]
TABLE38 = [(1, 1, "0.15736404855259E-02"), (1, 2, "0.90153761673944E-03"), (1, 3, "-0.50270077677648E-02"),
           (2, 3, "0.22440037409485E-05"), (2, 9, "-0.41163275453471E-05"), (3, 7, "0.37919454822955E-07")]
TABLE34 = [mpf(n) for n in ("0.11670521452767E+04", "-0.72421316703206E+06", "-0.17073846940092E+02",
                            "0.12020824702470E+05", "-0.32325550322333E+07", "0.14915108613530E+02",
                            "-0.48232657361591E+04", "0.40511340542057E+06", "-0.23855557567849E+00",
                            "0.65017534844798E+03")]
# IAPWS 2008 viscosity: H_i (Table 1) and (i, j, H_ij) (Table 2).
H0 = ["1.67752", "2.20462", "0.6366564", "-0.241605"]
HIJ = [(0, 0, "5.20094e-1"), (1, 0, "8.50895e-2"), (2, 0, "-1.08374"), (3, 0, "-2.89555e-1"),
       (0, 1, "2.22531e-1"), (1, 1, "9.99115e-1"), (2, 1, "1.88797"), (3, 1, "1.26613"),
       (5, 1, "1.20573e-1"), (0, 2, "-2.81378e-1"), (1, 2, "-9.06851e-1"), (2, 2, "-7.72479e-1"),
       (3, 2, "-4.89837e-1"), (4, 2, "-2.57040e-1"), (0, 3, "1.61913e-1"), (1, 3, "2.57399e-1"),
       (0, 4, "-3.25372e-2"), (3, 4, "6.98452e-2"), (4, 5, "8.72102e-3"), (3, 6, "-4.35673e-3"),
       (5, 6, "-5.93264e-4")]
# IAPWS 2011 conductivity: L_k (Table 1), L_ij (Table 2, row i = power of 1/T - 1, column j = power
# of rho - 1) and A_ij of the reference compressibility for use with IF97 (Table 6, row i = power of
# rho, column j = density interval up to 100, 250, 400, 600 kg/m3 and above).
L0 = ["2.443221e-3", "1.323095e-2", "6.770357e-3", "-3.454586e-3", "4.096266e-4"]
LIJ = [["1.60397357", "-0.646013523", "0.111443906", "0.102997357", "-0.0504123634", "0.00609859258"],
       ["2.33771842", "-2.78843778", "1.53616167", "-0.463045512", "0.0832827019", "-0.00719201245"],
       ["2.19650529", "-4.54580785", "3.55777244", "-1.40944978", "0.275418278", "-0.0205938816"],
       ["-1.21051378", "1.60812989", "-0.621178141", "0.0716373224", "0", "0"],
       ["-2.7203370", "4.57586331", "-3.18369245", "1.1168348", "-0.19268305", "0.012913842"]]
AIJ = [["6.53786807199516", "6.52717759281799", "5.35500529896124", "1.55225959906681", "1.11999926419994"],
       ["-5.61149954923348", "-6.30816983387575", "-3.96415689925446", "0.464621290821181",
        "0.595748562571649"],
       ["3.39624167361325", "8.08379285492595", "8.91990208918795", "8.93237374861479", "9.88952565078920"],
       ["-2.27492629730878", "-9.82240510197603", "-12.0338729505790", "-11.0321960061126",
        "-10.3255051147040"],
       ["10.2631854662709", "12.1358413791395", "9.19494865194302", "6.16780999933360", "4.66861294457414"],
       ["1.97815050331519", "-5.54349664571295", "-2.16866274479712", "-0.965458722086812",
        "-0.503243546373828"]]


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


def psat_mpa(t):
    """IF97 Eq. 30 at T [K]."""
    n = TABLE34
    th = t + n[8] / (t - n[9])
    a, b, c = th**2 + n[0] * th + n[1], n[2] * th**2 + n[3] * th + n[4], n[5] * th**2 + n[6] * th + n[7]
    return (2 * c / (-b + sqrt(b**2 - 4 * a * c)))**4


def gamma(region):
    """The dimensionless Gibbs energy of region 1, 2 or 5 as f(pi, tau), with p* [MPa] and T* [K]."""
    if region == 1:
        return (lambda p, t: sum(mpf(n) * (mpf("7.1") - p)**i * (t - mpf("1.222"))**j
                                 for i, j, n in TABLE2)), mpf("16.53"), mpf(1386)
    ideal, res, shift, ts = ((TABLE10, TABLE11, mpf("0.5"), 540) if region == 2
                             else (TABLE37, TABLE38, 0, 1000))
    return (lambda p, t: log(p) + sum(mpf(n) * t**j for j, n in ideal) +
            sum(mpf(n) * p**i * (t - shift)**j for i, j, n in res)), mpf(1), mpf(ts)


class GibbsState:
    """v [m3/kg], cp, cv [kJ/(kg K)] and (d rho/d p)_T [kg/(m3 Pa)] of region 1, 2 or 5 at p [MPa], T."""

    def __init__(self, region, p, t):
        g, ps, ts = gamma(region)
        x, tau = mpf(p) / ps, ts / mpf(t)
        gp, gpp, gtt, gpt = (diff(g, (x, tau), k) for k in ((1, 0), (2, 0), (0, 2), (1, 1)))
        self.v = R * t * gp / ps / 1000
        self.cp = -R * tau**2 * gtt
        self.cv = R * (-tau**2 * gtt + (gp - tau * gpt)**2 / gpp)
        self.drho_dp = -(R * t * gpp / ps**2 / 1000) / self.v**2 / 10**6


def viscosity(t, rho):
    """IAPWS 2008, enhancement factor 1 [Pa s]."""
    tb, rb = mpf(t) / TC, mpf(rho) / RHOC
    mu0 = 100 * sqrt(tb) / sum(mpf(h) / tb**i for i, h in enumerate(H0))
    return mu0 * exp(rb * sum(mpf(h) * (1 / tb - 1)**i * (rb - 1)**j for i, j, h in HIJ)) / 10**6


def conductivity(region, p, t, s):
    """IAPWS 2011 for use with IF97 [W/(m K)] of the GibbsState s at p [MPa], T [K]."""
    tb, rho = mpf(t) / TC, 1 / s.v
    rb = rho / RHOC
    lam = sqrt(tb) / sum(mpf(c) / tb**k for k, c in enumerate(L0)) * exp(rb * sum(
        mpf(LIJ[i][j]) * (1 / tb - 1)**i * (rb - 1)**j for i in range(5) for j in range(6)))
    if (region == 1 and p < mpf("1.8") * t - mpf("751.4")) or (region == 2 and t < mpf("973.15")):
        col = sum(rb > mpf(b) for b in ("0.310559006", "0.776397516", "1.242236025", "1.863354037"))
        zeta_r = 1 / sum(mpf(AIJ[i][col]) * rb**i for i in range(6))
        dchi = max(rb * (mpf("22.064e6") / RHOC * s.drho_dp - zeta_r * mpf("1.5") / tb), 0)
        y = mpf("0.13e-9") * (dchi / mpf("0.06"))**(mpf("0.630") / mpf("1.239")) / mpf("0.40e-9")
        if y >= mpf("1.2e-7"):
            k = s.cv / s.cp
            z = 2 / (pi * y) * ((1 - k) * atan(y) + k * y - (1 - exp(-1 / (1 / y + y**2 / (3 * rb**2)))))
            lam += mpf("177.8514") * rb * s.cp / mpf("0.46151805") * tb / (viscosity(t, rho) * 10**6) * z
    return lam / 1000


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

    # The published check values of both releases (form for use with IF97, Tables 7 and 8 of the
    # conductivity release; Table 4 of the viscosity release) before any row is written.
    for region, p, t, lam in [(1, 20, 620, "481.485195"), (1, 50, 620, "545.038940"),
                              (2, "0.3", 650, "52.2311024"), (2, 50, 800, "177.709914")]:
        s = GibbsState(region, mpf(p), mpf(t))
        assert abs(conductivity(region, mpf(p), mpf(t), s) * 1000 / mpf(lam) - 1) < 1e-8, (p, t)
    assert abs(viscosity(mpf("298.15"), 998) * 10**6 / mpf("889.735100") - 1) < 1e-8
    assert abs(viscosity(mpf("873.15"), 600) * 10**6 / mpf("77.430195") - 1) < 1e-8
    # Liquid (region 1 without and with the critical term), vapour (region 2 with it, and without
    # it above 973.15 K), region 5, and both saturated phases at 450 and 600 K (P not given, flag 0
    # or 1; the vapour at 600 K below 100 kg/m3 with a marked critical term).
    print("# transport: P [bar], T [K], flag, conductivity [W/(m K)], viscosity [Pa s], cp [kJ/(kg K)],")
    print("#   density [kg/m3], Prandtl number, thermal diffusivity [m2/s]")
    for p_bar, t, flag, region in [(30.0, 300.0, -1.0, 1), (30.0, 500.0, -1.0, 1), (1.0, 400.0, -1.0, 2),
                                   (100.0, 700.0, -1.0, 2), (10.0, 1000.0, -1.0, 2),
                                   (100.0, 1100.0, -1.0, 5), (-1.0, 450.0, 0.0, 1), (-1.0, 450.0, 1.0, 2),
                                   (-1.0, 600.0, 0.0, 1), (-1.0, 600.0, 1.0, 2)]:
        p = psat_mpa(mpf(t)) if p_bar < 0 else mpf(p_bar) / 10
        s = GibbsState(region, p, mpf(t))
        lam, eta = conductivity(region, p, mpf(t), s), viscosity(mpf(t), 1 / s.v)
        row("transport", p_bar, t, flag, lam, eta, s.cp, 1 / s.v, eta * s.cp * 1000 / lam,
            lam * s.v / (s.cp * 1000))


if __name__ == "__main__":
    main()
