#!/usr/bin/env python3
"""The sour-water model from its published forms and tables (typed in apart from the library's
copy) in 40-digit decimals. Rows: pure (T [K], P [atm], ln phi of water vapour: largest root of
the virial cubic by bisection, P capped at 0.99 of the spinodal), dilute (T, P, ln phi of model
components 1..18 dilute in it), henry (T, CO2 and H2S Henry constants [atm]), ion (T, water and
ion amounts, ln gamma of a singly charged ion). Terms from 647.29 K up are those of 647.29 K.
Run: python3 water_vapour_virial.py > water_vapour_virial.dat
"""
from decimal import Decimal as D, getcontext

getcontext().prec = 40
R, TC = D("82.05"), D("647.3")
# Model index: TC K, PC atm, VC cc/mol, ZC, virial a, b, c, KIJ and KIJB against water.
COMPONENTS = [row.split() for row in """
647.3 217.6 56 0.229 -1.7 -9.32 2.25 0 0 | 405.6 111.3 72.5 0.242 24.75 -26.72 1.814 -0.015 0
304.6 72.8 94 0.274 52.74 -102.52 0.9822 0.2 0.3 | 373.2 88.2 98.5 0.284 63 -125.34 0.8938 0.12 0.36
190.6 45.4 99 0.288 49.15 -174.77 0.6685 0.3 0.5 | 305.4 48.2 148 0.285 84.4 -198.78 0.8389 0.25 0.45
369.8 41.9 203 0.281 122.35 -230.29 0.9557 0.25 0.4 | 408.1 36 263 0.283 158.26 -271.94 1.0098 0.25 0.35
425.2 37.5 255 0.274 160.5 -254.1 1.0566 0.25 0.3 | 460.4 33.4 306 0.271 189.08 -277.98 1.11957 0.25 0.25
469.6 33.3 304 0.262 197.01 -255.07 1.1984 0.25 0.2 | 33.2 12.8 65 0.305 25.72 -339.24 0.2541 0.43 0.45
126.2 33.5 89.5 0.29 45.23 -157.67 0.6586 0.32 0.4 | 132.9 34.5 93.1 0.295 47.42 -148.36 0.7147 0.3 0.4
552 78 170 0.293 199.32 -438.9 0.644 0.35 0.4 | 375 58 140 0.26 103.26 -185.12 0.9291 0.3 0.4
470 71.4 145 0.268 94.6 -166.74 0.9816 0.15 0.3 | 499 54.2 207 0.274 134.24 -204.64 1.0685 0.15 0.2
""".replace("|", "\n").splitlines() if row]
# Henry parameters A, B [K], C and hard-sphere volume of CO2 and H2S.
HENRY = {3: ("8.999", "355.2", "0.5", "25.4"), 4: ("6.135", "848.3", "0.5", "26.6")}

power = lambda x, e: (x.ln() * e).exp()

def dilute_ln_phi(t, p):
    t, p = D(t), D(p)
    tb, rt = min(t, D("647.29")), R * t
    comp = [[D(v) for v in row] for row in COMPONENTS]
    b_pure = lambda c, k: c[4] + c[5] * ((c[6] * c[0] * (1 - k) / tb).exp() - 1)
    # Reduced third virial coefficient and RT/P at the critical point.
    cred = lambda c: D("1.1") * c[3] ** 2 * (c[3] - 1 - (c[4] + c[5] * (c[6].exp() - 1)) / c[2])
    w = comp[0]
    b11, c1, r1 = b_pure(w, 0), cred(w), R * w[0] / w[1]
    cm = c1 * r1 * r1
    if b11 * b11 >= 3 * cm:
        vs = -b11 + (b11 * b11 - 3 * cm).sqrt()
        p = min(p, D("0.99") * (1 + b11 / vs + cm / (vs * vs)) * rt / vs)
    # p V^3 - RT V^2 - RT B V - RT C = 0: step down from above to the sign change, then bisect.
    f = lambda v: p * v**3 - rt * v**2 - rt * b11 * v - rt * cm
    hi = lo = rt / p * 2 + 10
    while f(lo) > 0:
        lo -= hi / 1000
    for _ in range(300):
        mid = (lo + hi) / 2
        lo, hi = (lo, mid) if f(mid) > 0 else (mid, hi)
    v = (lo + hi) / 2
    out = []
    for c in comp:
        k = c[7] + c[8] * (D(473) / tb - 1)
        bi1 = (w[2] / c[2] * b_pure(c, k) + c[2] / w[2] * b_pure(w, k)) / 2
        s2 = cred(c) * r1 * r1 + 2 * R * c[0] / c[1] * c1 * r1
        out.append(min(2 * bi1 / v + D("1.5") * s2 / (v * v), D(10)) - (p * v / rt).ln())
    return out

def water_vapour_pressure(t):  # [atm], by direct substitution in mmHg
    p = D(0)
    for _ in range(25):
        prev = p
        p = min(max(D("55.336") - D("6869.5") / t - D("5.115") * t.ln() + D("1.05") * p / (t * t),
                    D(-46)), D(46)).exp()
        if abs(prev / p - 1) <= D("1e-4"):
            break
    return p / 760

def water_liquid_volume(t):
    tau = 1 - t / TC
    x = D("2.2") * tau / (D("1.152") * (1 - tau) + D("2.2") * tau)
    return D("57.79") * (-D("1.3093") * power(x, D("0.2857"))).exp()

def henry(t, m):
    t = D(t)
    a, b, c, bhs = (D(v) for v in HENRY[m])
    pw = water_vapour_pressure(t)
    kp = pw * ((a + b / t) * power(TC / t - 1, c)).exp()
    poy = (D("1.5") * pw * bhs * power(water_liquid_volume(t) / D("14.61"), D("1.81")) / (R * t)).exp()
    return kp * dilute_ln_phi(t, pw)[m - 1].exp() / poy

def ln_gamma_ion(t, water, ions):
    t, water, ions = D(t), D(water), D(ions)
    i = ions / (water + ions)
    rho = D("18.02") / water_liquid_volume(t)
    d = D("0.01712") * ((D("0.00635") * t).exp() - 1) + D("0.2944")
    a = D("4.45") * power(d, D("0.66667")) / power(rho, D("0.33333"))
    b, size = D("2.3672") * power(rho * d, D("0.33333")), D("2.603")
    e = (-b * size * i.sqrt()).exp()
    return a / size * (e * (1 - b * size * i.sqrt() * (1 - i) / 2) - 1)

row = lambda tag, *values: print(tag, " ".join(f"{float(v):.15g}" for v in values))

for t, p in [("373.15", "10"), ("373.15", "100"), ("298.15", "0.0307"), ("473.15", "5"),
             ("600", "60"), ("700", "300")]:
    row("pure", t, p, dilute_ln_phi(t, p)[0])
for t, p in [("373.15", "1"), ("473.15", "10"), ("560", "40")]:
    row("dilute", t, p, *dilute_ln_phi(t, p))
for t in ["298.15", "373.15"]:
    row("henry", t, henry(t, 3), henry(t, 4))
for t, w, n in [("298.15", "55.51", "1"), ("373.15", "55.51", "0.2")]:
    row("ion", t, w, n, ln_gamma_ion(t, w, n))
