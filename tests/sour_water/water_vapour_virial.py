#!/usr/bin/env python3
"""Independent evaluation of the sour-water virial vapour in water vapour.

Solves P = RT/V (1 + B/V + C/V^2) for the vapour volume of pure water as the
largest real root of the cubic (by bisection, not the library's Newton
iteration), with the spinodal cap 0.99 Zs RT/Vs, and forms ln phi =
min(2 S1/V + 1.5 S2/V^2, 10) - ln Z, S1 = B_i1, S2 = CRED_i R1^2 + 2 RTCPC_i
CRED_1 R1 (R1 = RTCPC of water), for every component at infinite dilution
(water itself: the pure vapour). The temperature terms are those of 647.29 K
from there up. The component data are typed in here from the model's tables,
separately from the library's own copy. Also, from the same data and the
published forms of the model: the Henry constants of CO2 and H2S
(correlation pressure times the fugacity coefficient in saturated water
vapour over the Poynting factor) and the Debye-Hueckel ln gamma of a singly
charged ion.
Run: python3 water_vapour_virial.py > water_vapour_virial.dat
"""
from decimal import Decimal, getcontext

getcontext().prec = 40
R = Decimal("82.05")
TC = Decimal("647.3")


def dexp(x):
    return Decimal(x).exp()


def largest_root(t, p, b, c):
    # p V^3 - RT V^2 - RT b V - RT c = 0: step down from above to the sign
    # change, then bisect.
    rt = R * t
    f = lambda v: p * v**3 - rt * v**2 - rt * b * v - rt * c
    hi = lo = rt / p * 2 + 10
    while f(lo) > 0:
        lo -= hi / 1000
    for _ in range(300):
        mid = (lo + hi) / 2
        if f(mid) > 0:
            hi = mid
        else:
            lo = mid
    return (lo + hi) / 2


# Model index: TC K, PC atm, VC cc/mol, ZC, virial a, b, c, KIJ and KIJB
# against water.
COMPONENTS = [
    ("647.3", "217.6", "56", "0.229", "-1.7", "-9.32", "2.25", "0", "0"),
    ("405.6", "111.3", "72.5", "0.242", "24.75", "-26.72", "1.814", "-0.015", "0"),
    ("304.6", "72.8", "94", "0.274", "52.74", "-102.52", "0.9822", "0.2", "0.3"),
    ("373.2", "88.2", "98.5", "0.284", "63", "-125.34", "0.8938", "0.12", "0.36"),
    ("190.6", "45.4", "99", "0.288", "49.15", "-174.77", "0.6685", "0.3", "0.5"),
    ("305.4", "48.2", "148", "0.285", "84.4", "-198.78", "0.8389", "0.25", "0.45"),
    ("369.8", "41.9", "203", "0.281", "122.35", "-230.29", "0.9557", "0.25", "0.4"),
    ("408.1", "36", "263", "0.283", "158.26", "-271.94", "1.0098", "0.25", "0.35"),
    ("425.2", "37.5", "255", "0.274", "160.5", "-254.1", "1.0566", "0.25", "0.3"),
    ("460.4", "33.4", "306", "0.271", "189.08", "-277.98", "1.11957", "0.25", "0.25"),
    ("469.6", "33.3", "304", "0.262", "197.01", "-255.07", "1.1984", "0.25", "0.2"),
    ("33.2", "12.8", "65", "0.305", "25.72", "-339.24", "0.2541", "0.43", "0.45"),
    ("126.2", "33.5", "89.5", "0.29", "45.23", "-157.67", "0.6586", "0.32", "0.4"),
    ("132.9", "34.5", "93.1", "0.295", "47.42", "-148.36", "0.7147", "0.3", "0.4"),
    ("552", "78", "170", "0.293", "199.32", "-438.9", "0.644", "0.35", "0.4"),
    ("375", "58", "140", "0.26", "103.26", "-185.12", "0.9291", "0.3", "0.4"),
    ("470", "71.4", "145", "0.268", "94.6", "-166.74", "0.9816", "0.15", "0.3"),
    ("499", "54.2", "207", "0.274", "134.24", "-204.64", "1.0685", "0.15", "0.2"),
]


def dilute_ln_phi(t, p):
    """ln phi of every component at infinite dilution in pure water vapour."""
    t, p = Decimal(t), Decimal(p)
    tb = min(t, Decimal("647.29"))
    comp = [[Decimal(v) for v in row] for row in COMPONENTS]
    rt = R * t

    def b_pure(c, k):
        tc, _, _, _, a, b, cc = c[:7]
        return a + b * (dexp(cc * tc * (1 - k) / tb) - 1)

    def cred_rtcpc(c):
        tc, pc, vc, zc, a, b, cc = c[:7]
        b_tc = a + b * (dexp(cc) - 1)
        return Decimal("1.1") * zc * zc * (zc - 1 - b_tc / vc), R * tc / pc

    w = comp[0]
    b11 = b_pure(w, 0)
    c1, r1 = cred_rtcpc(w)
    cm = c1 * r1 * r1
    if b11 * b11 >= 3 * cm:
        vs = -b11 + (b11 * b11 - 3 * cm).sqrt()
        p = min(p, Decimal("0.99") * (1 + b11 / vs + cm / (vs * vs)) * rt / vs)
    v = largest_root(t, p, b11, cm)
    z = p * v / rt
    out = []
    for c in comp:
        k = c[7] + c[8] * (Decimal(473) / tb - 1)
        bi1 = (w[2] / c[2] * b_pure(c, k) + c[2] / w[2] * b_pure(w, k)) / 2
        ci, ri = cred_rtcpc(c)
        s2 = ci * r1 * r1 + 2 * ri * c1 * r1
        out.append(min(2 * bi1 / v + Decimal("1.5") * s2 / (v * v), Decimal(10)) - z.ln())
    return out


def water_vapour_pressure(t):
    """Model vapour pressure of water [atm] by direct substitution."""
    p = Decimal(0)
    for _ in range(25):
        prev = p
        v = Decimal("55.336") - Decimal("6869.5") / t - Decimal("5.115") * t.ln() + Decimal("1.05") * p / (t * t)
        p = min(max(v, Decimal(-46)), Decimal(46)).exp()
        if abs(prev / p - 1) <= Decimal("1e-4"):
            break
    return p / 760


def water_liquid_volume(t):
    tau = 1 - t / TC
    x = Decimal("2.2") * tau / (Decimal("1.152") * (1 - tau) + Decimal("2.2") * tau)
    return Decimal("57.79") * (-Decimal("1.3093") * (x.ln() * Decimal("0.2857")).exp()).exp()


# Henry parameters A, B [K], C and hard-sphere volume of CO2 and H2S.
HENRY = {3: ("8.999", "355.2", "0.5", "25.4"), 4: ("6.135", "848.3", "0.5", "26.6")}


def henry(t, m):
    t = Decimal(t)
    a, b, c, bhs = (Decimal(v) for v in HENRY[m])
    pw = water_vapour_pressure(t)
    kp = pw * ((a + b / t) * ((TC / t - 1).ln() * c).exp()).exp()
    vl = bhs * ((water_liquid_volume(t) / Decimal("14.61")).ln() * Decimal("1.81")).exp()
    poy = (Decimal("1.5") * pw * vl / (R * t)).exp()
    return kp * dilute_ln_phi(t, pw)[m - 1].exp() / poy


def ln_gamma_ion(t, water, ions):
    """ln gamma of a singly charged ion among IONS singly charged ions in
    WATER (amounts), no other species."""
    t, water, ions = Decimal(t), Decimal(water), Decimal(ions)
    i = ions / (water + ions)
    rho = Decimal("18.02") / water_liquid_volume(t)
    d = Decimal("0.01712") * ((Decimal("0.00635") * t).exp() - 1) + Decimal("0.2944")
    third = Decimal("0.33333")
    a = Decimal("4.45") * (d.ln() * Decimal("0.66667")).exp() / (rho.ln() * third).exp()
    b = Decimal("2.3672") * ((rho * d).ln() * third).exp()
    size = Decimal("2.603")
    e = (-b * size * i.sqrt()).exp()
    f = 1 - b * size * i.sqrt() * (1 - i) / 2
    return a / size * (e * f - 1)


def row(tag, *values):
    print(tag, " ".join(f"{float(v):.15g}" for v in values))


# Tag and values a line: pure (T [K], P [atm], ln phi of water), dilute (T,
# P, ln phi of model components 1..18), henry (T, CO2, H2S [atm]), ion (T,
# water and ion amounts, ln gamma of a singly charged ion).
for t, p in [("373.15", "10"), ("373.15", "100"), ("298.15", "0.0307"), ("473.15", "5"), ("600", "60"),
             ("700", "300")]:
    row("pure", t, p, dilute_ln_phi(t, p)[0])
for t, p in [("373.15", "1"), ("473.15", "10"), ("560", "40")]:
    row("dilute", t, p, *dilute_ln_phi(t, p))
for t in ["298.15", "373.15"]:
    row("henry", t, henry(t, 3), henry(t, 4))
for t, w, n in [("298.15", "55.51", "1"), ("373.15", "55.51", "0.2")]:
    row("ion", t, w, n, ln_gamma_ion(t, w, n))
