#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz programs (corpus/<target>/seed-*) in the byte layout they read:
a float or int as tag byte 2 and its 8 raw bytes, a unit U(n) as its index in the harness's list,
bytes as they are. Inputs the fuzzer reduced (regression-*) are kept."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
NAN, INF, DBL_MAX = float("nan"), float("inf"), 1.7976931348623157e308

class U(int):  # an output unit
    pass

b = lambda *vs: bytes(v & 0xFF for v in vs)  # raw bytes: choices the programs read as one byte each
chars = lambda alphabet, text: b(*(alphabet.index(ch) for ch in text))
calls = lambda cs: [b(len(cs) - 1), cs]
small = lambda v: b(0, v, 0)  # Int(0, ...) in its typical form

def put(s, *vs):
    for v in vs:
        if isinstance(v, U):
            s.append([6, 7, 40, 51, 60, 99, -3].index(v))
        elif isinstance(v, (bytes, bytearray)):
            s.extend(v)
        elif isinstance(v, (list, tuple)):
            put(s, *v)
        else:
            s.extend(b"\x02" + struct.pack("<d" if isinstance(v, float) else "<q", v))
    return s

def write(target, name, *vs):
    os.makedirs(os.path.join(HERE, "corpus", target), exist_ok=True)
    with open(os.path.join(HERE, "corpus", target, "seed-" + name), "wb") as f:
        f.write(put(bytearray(), *vs))

def host(istate=0, liqno=0, nmax=0, records=(0,) * 6, gunit=6, cpacom=None, filnam="", unit=None):
    """Host block words (records: pool word or 0), last the host's unit (host()[:-1]: none read)."""
    recs = [b(0) if r == 0 else b(1, r - 1, (r - 1) >> 8) for r in records]
    over = b(0) if cpacom is None else (b(1), cpacom, b(len(filnam)), chars("abhis0._ ", filnam))
    return [istate, liqno, nmax, recs, 0, 0, U(gunit), over, b(0) if unit is None else (b(1), U(unit))]
# Water routines, each call's arguments in the order read. QUELTRIN_IF97PRPH: T, P, V, KPROP,
# KPHASE, KREGION.
for name, cs in [
        ("p-zero-region2-volume", [(500.0, 0.0, 1.0, 5, 0, 2)]),
        ("p-negative-region1-volume", [(300.0, -1e5, 1.0, 5, 0, 1)]),
        ("region1-far-outside", [(1000.0, 1e6, 1.0, 5, 0, 1)]),
        ("t-nan-vapour-pressure", [(NAN, 1e5, 1.0, 11, 0, 4)]),
        ("p-nan-saturation-temperature", [(300.0, NAN, 1.0, 15, 0, 4)]),
        ("region4-p-negative-fugacity", [(300.0, -1e5, 1.0, 1, 1, 4)]),
        ("valid-codes", [(300.0, 1e5, 1.0, 2, 0, 1), (373.15, 1e5, 1.0, 11, 0, 0),
                         (650.0, 3e7, 0.04, 14, 0, 3), (400.0, 1e5, 1.0, 6, 2, 4)]),
        ("region3-code4-and-fugacity", [(650.0, 2.5e7, 0.05, 4, 0, 3), (650.0, 2.5e7, 0.05, 1, 0, 3)]),
        # Region 3's backward volume at a liquid state of region 1 comes out negative.
        ("region3-volume-of-a-liquid-state", [(593.38491263281082, 23058027.730053701, 1.0, 5, 0, 3)]),
        ("no-physical-state", [(300.0, 1e9, 1e35, 5, 0, 1), (1500.0, 1e7, 1e35, 5, 0, 1),  # far from
                               (300.0, 1e5, 0.018, 14, 0, 3), (100.0, 1e5, 1e35, 2, 0, 1)])]:  # the regions
    write("if97prph", name, host()[:-1], calls(cs))
# QUELTRIN_FDREGION: T, P, KVL, LVLPRT, IUNIT; QUELTRIN_ES15D: T, P, LVLPRT, KVL, IUNIT, KPHI..KV.
ALL = (1, 1, 1, 1, 1)
for target, name, unit, cs in [
        ("fdregion", "t-negative-liquid", None, [(-5.0, 1e5, 2, 0, U(6))]),
        ("fdregion", "t-huge-vapour", None, [(1e300, 1e5, 1, 0, U(6))]),
        ("fdregion", "vapour-denormal-pressure", None, [(700.0, 1e-320, 1, 0, U(6))]),
        ("fdregion", "region3-starts", None,
         [(640.0, 2e7, 1, 0, U(6)), (700.0, 4e7, 1, 0, U(6)), (623.16, 3e7, 2, 0, U(6))]),
        ("fdregion", "warnings-on-host-unit", 7,
         [(250.0, 1e5, 2, 5, U(7)), (700.0, 1e7, 2, 5, U(7)), (2500.0, 7e7, 1, 5, U(7))]),
        ("es15d", "liquid-t-minus-huge", None, [(-1e300, 1e5, 0, 2, U(6), ALL)]),
        ("es15d", "t-largest", None, [(DBL_MAX, 1e5, 0, 1, U(6), ALL), (DBL_MAX, 1e5, 0, 2, U(6), ALL)]),
        ("es15d", "liquid-denormal-pressure", None, [(250.0, 1e-305, 0, 2, U(6), ALL)]),
        ("es15d", "liquid-extrapolated-and-corrected", 7,
         [(700.0, 1e7, 5, 2, U(7), ALL), (300.0, 1000.0, 5, 2, U(7), ALL)]),
        ("es15d", "vapour-cold-partial-flags", None,
         [(260.0, 1e5, 0, 1, U(6), (1, 0, 2, 0, 1)), (270.0, 101325.0, 0, 2, U(6), (0, 1, 0, 1, 0))])]:
    write(target, name, host(unit=unit), calls(cs))
# PPCPA_OPCLFILE: unit, file name, last byte NUL, mode.
for name, cs in [
        ("open-close-bad-mode", [(60, "a.h  ", False, 1), (60, "", False, 3), (60, "a.h", False, 2)]),
        ("reopen-other-unit-dot-names",
         [(51, "..", False, 1), (7, "f", True, 1), (7, "b", False, 1), (99, "   ", False, 1)])]:
    write("opclfile", name, host()[:-1], calls([(b(len(f)), U(u), chars("abcfh.  ", f),
                                                 b(0 if nul else 1) if f else (), mode)
                                                for u, f, nul, mode in cs]))
# PPCPA_CPAPROP: a call's inputs in the order the program reads them, with their defaults.
CALL = dict(T=300.0, P=1e5, KVL=2, KPHI=1, KH=1, KS=1, KG=1, KV=1, KDER=0, KVSTRT=0, VMX=0.0, IH2O=0,
            KTOL=0, KDIAG=0, IUNIT=U(6))
ALLD = dict(KPHI=3, KH=3, KS=3, KG=3, KV=3, KDER=1)  # every value and its derivative
W, MEOH, C1, C1_SRK = 0, 1, 2, 3  # the presets: water, methanol, methane, SRK methane
HALF, ONE, VAP, MPA = [0.5, 0.5], [1.0], dict(KVL=1), [dict(P=1e6)]

mat_at = lambda ncc, i, j: (j - 1) * ncc + (i - 1)  # word (i, j); twice it: c1 of CPAKIJ(2, NCC, NCC)

def cpaprop(name, comps, x, cs, idx=None, entries=(), **host_words):
    """comps: preset or (preset, {parameter: value}); entries: (array, word, value); cs: dicts."""
    s = put(bytearray(), host(**host_words), len(comps), len(x))
    for c in comps:
        preset, over = (c, {}) if isinstance(c, int) else c
        put(s, b(preset, sum(1 << j for j in over)), [over[j] for j in sorted(over)])
    put(s, b(len(entries)))
    for which, at, value in entries:
        flag = () if which in (0, 1, 5) else b(1) if value == 1.0 else b(0)
        put(s, b(which, at), flag, () if flag == b(1) else value)
    put(s, [b(0) if idx is None or idx[i] == i + 1 else (b(7), idx[i]) for i in range(len(x))])
    write("cpaprop", name, s, x, b(0), calls([list(dict(CALL, **c).values()) for c in cs]))

FLAG_BOTH = [(4, mat_at(2, 1, 2), 1.0), (4, mat_at(2, 2, 1), 1.0)]  # solvation of water and an inert
cpaprop("solvation-flag-water-first", [W, C1], HALF, MPA, entries=FLAG_BOTH)
cpaprop("solvation-flag-inert-first", [W, C1], HALF, MPA, idx=[2, 1], entries=FLAG_BOTH)
cpaprop("solvation-explicit", [W, C1], HALF, MPA,
        entries=[(1, 2 * mat_at(2, 1, 2), 0.0692), (1, 2 * mat_at(2, 2, 1), 0.0692), (3, 0, 1.0), (3, 1, 1.0),
                 (5, mat_at(2, 1, 2), 1001.5683520036178), (5, mat_at(2, 2, 1), 1001.5683520036178)])
cpaprop("two-absent-components", [W, MEOH, C1], [1.0, 0.0, 0.0], [{}, ALLD])
cpaprop("ktol-minus-one-water-vapour", [W], ONE, [dict(P=1e7, KVL=1, KTOL=-1)])
cpaprop("fraction-two-methane", [C1], [2.0], [VAP])
cpaprop("repeated-component", [W, C1], HALF, [{}], idx=[1, 1])
cpaprop("marker-volume-methane", [C1], ONE, [dict(KVL=1, KVSTRT=1, VMX=1e35)])
cpaprop("marker-volume-water", [W], ONE, [dict(KVSTRT=1, VMX=1e35)])
cpaprop("huge-volume-pressure-derivatives", [C1], ONE, [dict(KVL=1, KVSTRT=1, VMX=1e300, KDER=1)])
cpaprop("negative-association-volume", [(W, {4: -0.0692}), C1], HALF, [{}])
cpaprop("huge-association-energy", [(W, {3: 1e300})], ONE, [{}])
cpaprop("negative-association-volume-pure-water", [(W, {4: -0.0692})], ONE, [{}])
LEVEL1 = (1, 0, 0, 0, 0, 0)  # print level 1: a history file from the second call
cpaprop("history-file-on-host-unit", [W], ONE, [dict(IUNIT=U(60))] * 2, cpacom=LEVEL1, unit=60)
cpaprop("history-file-unit-60", [W], ONE, [dict(IUNIT=U(60))] * 2, cpacom=LEVEL1)
cpaprop("named-file-on-host-global-unit", [W], ONE, [{}], gunit=51, cpacom=(0, 0, 1, 0, 0, 0), filnam="his",
        unit=51)
cpaprop("water-all-derivatives", [W], ONE, [dict(T=298.15, P=101325.0, **ALLD)])
cpaprop("water-methanol-binary", [W, MEOH], [0.3, 0.7], [dict(T=400.0, KVL=1), dict(T=400.0, P=1e6)],
        entries=[(0, 2 * mat_at(2, 1, 2), -0.09), (2, 0, 1.0), (1, 2 * mat_at(2, 1, 2), 0.05), (3, 0, 1.0)])
cpaprop("root-memory", [W, C1], [0.9, 0.1], [dict(T=350.0, P=1e6), dict(T=351.0, P=1e6), dict(T=351.0,
        P=1e6, KVL=1)], istate=1, liqno=1, nmax=4, records=(10, 20, 30, 100, 200, 300))
cpaprop("traces-and-echo", [W, MEOH, C1_SRK], [0.2, 0.3, 0.5], [dict(T=320.0, P=2e6, KDIAG=9999, IUNIT=U(7)),
        dict(T=320.0, P=2e6, KDIAG=1234, IUNIT=U(7), KPHI=2)], cpacom=(9, 0, 0, 0, 0, 0))
# Violations the fuzzing found, reduced by hand.
TC_TINY = (C1, {0: 8.0196521900152748e-315})  # a sub-normal critical temperature
cpaprop("found-subnormal-pressure-last-volume", [C1], ONE, [VAP, dict(P=5e-324, KVL=1, KVSTRT=2)])
cpaprop("found-subnormal-pressure-search", [W, MEOH], HALF, [dict(P=5e-324, KPHI=0, KH=0, KV=0)])
cpaprop("found-subnormal-pressure-liquid", [W, C1], HALF, [dict(P=5e-324)])
cpaprop("found-tiny-temperature-last-volume", [C1], ONE, [VAP, dict(T=1e-16, P=1e-16, KVL=1, KVSTRT=2)])
cpaprop("found-subnormal-critical-temperature", [TC_TINY], ONE, [VAP, dict(KVL=1, KVSTRT=2)])
cpaprop("found-subnormal-critical-temperature-water-alpha", [(C1, {0: 1e-309})], ONE,
        [dict(T=150.0, P=1000.0, IH2O=1, KVSTRT=1, VMX=1000.0)])
cpaprop("found-subnormal-critical-temperature-water-alpha-last-volume", [TC_TINY], ONE,
        [dict(T=900.0, P=1e8, KVL=1, IH2O=1), dict(T=900.0, P=1e8, KVL=1, IH2O=1, KVSTRT=2, KPHI=2)])
# Temperature derivatives where one of the two runs (T + 0.001 K, T) has no state; a vapour below the
# smallest normal pressure; SRK methane at the given volume 2 b near Z = 0.
cpaprop("found-two-runs-no-state-at-t-plus", [W, MEOH], HALF,
        [dict(T=1.0, P=0.7, KPHI=0, KH=0, KS=3, KG=3, KV=0), dict(T=0.75, P=0.01, **ALLD)])
cpaprop("subnormal-pressure-vapour", [W, C1], HALF, [dict(P=5.6e-309, KVL=1), dict(P=1e-310, KVL=1, KDER=1)])
TWO_B = dict(KVSTRT=1, VMX=2 * 0.029848038105941659, **ALLD)
cpaprop("two-runs-no-state-at-t", [C1_SRK], ONE, [dict(T=166.87090662460326, **TWO_B)])
cpaprop("two-runs-no-state-at-t-plus-given-volume", [(C1_SRK, {2: -5.0})], ONE,
        [dict(T=200.74054864387512, **TWO_B)])
# Critical constants whose co-volume no fluid has (b about 3e291, 7e307 and 9e-299 m3/kmol): ln phi
# or dP/dV that is no number came with status 0.
cpaprop("found-tiny-critical-pressure-last-volume", [(C1, {0: 0.7, 1: 1.9240016600124444e-289})], ONE,
        [dict(KVL=1, KPHI=0, KH=0, KS=2, KG=0, KV=0), dict(KVL=1, KPHI=0, KH=1, KS=0, KG=0, KV=0, KVSTRT=2)])
TC_PC_TINY = (C1, {0: 1e-16, 1: 9.9998886718268301e-321, 2: 0.0})
cpaprop("found-subnormal-critical-pressure-absent", [TC_PC_TINY, W, W],
        [0.0, 0.0048323769254001812, 0.99516762307459983], [dict(T=276.42553336865217, P=50802.18, **ALLD)])
cpaprop("found-largest-critical-pressure", [W, (C1, {0: 22063999.9998894, 1: DBL_MAX})],
        [2.9467507908344884e-317, 3.0518043793392844e-05], [dict(T=159.75719631888862, KVSTRT=1, VMX=0.01)])
# Sour water. A host component is a model index (1 water .. 18 ethyl mercaptan), or ("near",
# model index, byte, letter) for that alias with one byte changed to a lower-case letter.
def sw_host(comps, most):
    return [b(min(len(comps), most) - 1)] + [
        b(*(c - 1, 3) if isinstance(c, int) else (c[1] - 1, 0, c[2], ord(c[3]) - ord("a"))) for c in comps]

def sw_list(idx, host):
    """A count, then host numbers: the first byte that gives J, or the flag of a number below 1."""
    count = b(*(0, len(idx) - 1) if idx else (15, 0, 2, 0))
    return [count] + [b(next(v for v in range(j - 1, 256, host) if v % 16 != 15)) if j >= 1 else b(15, -j)
                      for j in idx]

def sw_fractions(*lists):
    """Each list: its values (a zero by its flag alone), then the flag of no normalisation."""
    return [(*(b(1) if v == 0.0 else (b(0), v) for v in y), b(0)) for y in lists]

def sw_model(i, m):
    """Slot I below 4 holds model I + 1 by default; other slots take the first byte naming M."""
    if i < 4 and m == i + 1:
        return b(0)
    if not 1 <= m <= 18:
        return b(7, 0, m + 2, 0)
    return b(next(v for v in range(256) if v % 18 == m - 1 and (v % 8 == 6 if i < 4 else v % 8 < 6)))

H2O, NH3, CO2, H2S, CH4 = 1, 2, 3, 4, 5
for name, hosts, cs in [
        ("more-than-20-slots", [H2O, CH4], [([1] + [2] * 24, 0), ([1] + [2] * 24, 1)]),
        ("host-numbers-below-1", [H2O, NH3, CH4, 17], [([0, -1, 1, 2, 3, -2, 4, 1], 0)]),
        ("near-misses-and-repeats", [("near", H2O, 1, "h"), H2S, ("near", 18, 20, "x"), H2S, 9],
         [([1, 2, 3, 4, 5, 2], 0), ([5, 5, 4], 2)]),
        ("all-aliases", list(range(1, 19)), [(list(range(18, 0, -1)), 0)])]:
    write("chkcmp", name, sw_host(hosts, 30), calls([(sw_list(i, len(hosts)), small(k)) for i, k in cs]))

def phase(target, name, cs):
    """cs: (models, fractions, T, P) and for the liquid also pH and KPH."""
    write(target, name, calls([(b(0, len(m) - 1), [sw_model(i, k) for i, k in enumerate(m)],
                                sw_fractions(y), t, p, (ph[0], b(0) if ph[1] == 0 else (b(1), small(ph[1])))
                                if ph else ()) for m, y, t, p, *ph in cs]))

phase("phivgpsw", "more-than-20-slots", [(list(range(1, 19)) + list(range(5, 12)), [0.04] * 25, 400.0, 2.0)])
phase("phivgpsw", "model-index-outside", [([1, 2, 0, 19, -2, 5], [0.5, 0.2, 0.1, 0.1, 0.05, 0.05], 350.0,
                                          1.0)])
phase("phivgpsw", "all-zero-vapour", [([1, 2, 3, 4, 5], [0.0] * 5, 373.15, 1.0)])
phase("phivgpsw", "ammonia-rich-vapour",
      [([1, 2], [0.01, 0.99], 298.15, 1.0), ([1, 2, 3, 4], [0.01, 0.99, 0.0, 0.0], 298.15, 10.0)])
phase("phivgpsw", "water-capped-pressure", [([1], [1.0], 373.15, 100.0), ([1], [1.0], 700.0, 200.0)])
# Far outside the correlations' range (0 times an infinite coefficient).
phase("phivgpsw", "cold-and-hot", [([1, 2, 5], [0.2, 0.3, 0.5], 2.0, 1.0), ([1, 3], [0.5, 0.5], 1e5, 1e3)])
phase("phivgpsw", "cold-zero-vapour", [([1], [0.0], 2.0, 1e-3)])
# Liquids whose ionic equilibrium once hung or started from 0/0, or (sub-normal ammonia) repeated otherwise.
ROOM = (298.15, 1.0, 7.0, 0)  # T, P, pH, KPH 0: the pH searched
phase("philgpsw", "pure-water", [([1], [1.0], *ROOM), ([1], [1.0], 298.15, 1.0, 7.0, 1)])
phase("philgpsw", "one-acid-gas", [([1, 2, 3, 4], [0.999, 0.0, 0.001, 0.0], *ROOM),
                                   ([1, 2, 3, 4], [0.999, 0.0, 0.0, 0.001], 373.15, 1.0, 7.0, 0)])
phase("philgpsw", "ammonia-alone-and-tiny", [([1, 2], [0.98, 0.02], *ROOM), ([1, 2], [1.0, 1e-320], *ROOM)])
phase("philgpsw", "imposed-ph-far-off", [([1, 2, 3, 4], [0.97, 0.01, 0.01, 0.01], 298.15, 1.0, 3.0, 1)])
phase("philgpsw", "zero-gas-slots-and-short-list", [([1, 2, 3, 4, 5, 13], [0.99, 0.01] + [0.0] * 4, *ROOM),
                                                    ([1, 3], [0.999, 0.001], 423.15, 10.0, 7.0, 0)])
phase("philgpsw", "repeat-subnormal-ammonia",
      [([1, 2, 3, 4], [1 - 1e-8, 1e-315, 1e-8, 0.0], 250.0, 1.0, 7.0, 0),
       ([17] * 5, [0.99907, 1.0075e-315, 9.31e-4, 0.0, 0.0], 250.0, 0.001, 7.0, 0)])
phase("philgpsw", "model-index-outside",
      [([1, 2, 0, 19, -2, 5], [0.9, 0.04, 0.02, 0.02, 0.01, 0.01], 350.0, 1.0, 7.0, 0)])
# PPTH_INFLGPSW: host list, Z, X, Y, T, P, KODE.
Q, Z3 = [0.25] * 4, [0.0] * 3
for name, hosts, cs in [
        ("ammonia-rich-vapour", [H2O, NH3], [([1, 2], [0.01, 0.99], HALF, HALF, 298.15, 1e5, kode)
                                             for kode in (5, 0)]),
        ("more-than-20-slots", [H2O, NH3, CH4],
         [([1, 2] + [3] * 22, [0.5, 0.3] + [0.2 / 22] * 22, [1 / 24] * 24, [1 / 24] * 24, 350.0, 2e5, 5)]),
        ("host-numbers-below-1-and-unknown", [H2O, NH3, ("near", CO2, 2, "o"), H2S], [([0, 1, 2, 3, -1, 4],
          [0.1, 0.5, 0.2, 0.1, 0.05, 0.05], [0.0, 0.2, 0.2, 0.1, 0.0, 0.5], [0.2] * 6, 320.0, 1e5, 5)]),
        ("no-estimate-water-alone-or-with-methane", [H2O, NH3, CH4],
         [([1], [1.0], [1.0], [1.0], 300.0, 1e5, 5), ([1, 3], HALF, HALF, HALF, 300.0, 1e5, 5)]),
        ("all-zero-vapour", [H2O, NH3, CH4], [([1, 2], [0.0, 0.0], HALF, HALF, 300.0, 1e5, 5),
                                              ([1, 2, 3], [0, 0, 1.0], *[HALF + [0]] * 2, 300.0, 1e5, 5)]),
        ("water-rich-vapour", [H2O, NH3, CO2, H2S], [([1, 2, 3, 4], [0.97] + [0.01] * 3, Q, Q, 350.0, 1e5, 5),
                                                    ([4, 1, 2], [0.02, 0.95, 0.03], Z3, Z3, 298.15, 1e5, 0)]),
        ("impossible-vapour", [H2O, NH3], [([1, 2], [INF, 0.5], HALF, HALF, 353.15, 1e5, 5),
                                           ([1, 2], [0.5, -0.4], HALF, HALF, 353.15, 1e5, 5)]),
        ("water-twice", [H2O, NH3], [([1, 1], HALF, HALF, HALF, 353.15, 1e5, 5)]),
        ("no-water-key-pair", [NH3, H2S, CO2], [([1, 2, 3], *[[0.3, 0.3, 0.4]] * 3, 300.0, 1e5, 5)])]:
    write("inflgpsw", name, sw_host(hosts, 24), calls([
        (sw_list(idx, len(hosts)), sw_fractions(z, x, y), t, p, b(0) if kode == 5 else (b(1), small(kode)))
        for idx, z, x, y, t, p, kode in cs]))
