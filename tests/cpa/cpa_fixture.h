// A small host for the CPA tests and benchmark: component parameter sets, the
// host's arrays sized as the public header asks, one call returning every output.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "cpa/cpa.h"

namespace cpa_test {

struct Component {
  double tc, pc, m, au, av, at;
};

// Published CPA sets mapped to pseudo-critical constants (reference file
// cpa-test-parameters.md): water 4C, methanol 2B, methane inert.
inline constexpr Component kWater{
    303.17135848344367, 15045914.360250035, 0.38016508919624575, 2003.1367040072357, 0.0692, 4.0};
inline constexpr Component kMethanol{364.4383820278336, 8495972.27212533, 0.3403877229534356,
                                     2957.618414184445, 0.0161,           2.0};
inline constexpr Component kMethaneCpa{
    193.18592912809845, 4782224.476403621, 0.4516575760558059, 0.0, 0.0, 1e35};
// Plain SRK methane (acentric factor 0.011) and its co-volume.
inline constexpr Component kMethaneSrk{190.56, 4.599e6, 0.497293, 0.0, 0.0, 1e35};
inline constexpr double kMethaneB = 0.08664035 * 8314.33 * 190.56 / 4.599e6;

// Scalar inputs of one call; a test names the few it changes.
struct Request {
  int64_t kvl = 2, kphi = 1, kh = 1, ks = 1, kg = 1, kv = 1, kder = 0, kvstrt = 0, ktol = 1,
          ih2o = 0, kdiag = 0;
  int32_t unit = 6;
  double v_in = 0.0;  // VMX handed in
  double fill = 0.0;  // ln phi, the departures and their derivatives before the call
};

struct Result {
  std::vector<double> phi, dphidt;
  double dh = 0, ds = 0, dg = 0, v = 0, dhdt = 0, dsdt = 0, dgdt = 0, dvdt = 0, z = 0, dpdv = 0,
         dp2dvdt = 0, dpdt = 0, dp2dv2 = 0, pcalc = 0;
  int64_t ierr = -99;
};

class CpaSystem {
 public:
  explicit CpaSystem(const std::vector<Component>& comps)
      : ncc_(static_cast<int64_t>(comps.size())) {
    for (const Component& c : comps)
      for (auto [to, value] :
           {std::pair{&tc, c.tc}, {&pc, c.pc}, {&m, c.m}, {&au, c.au}, {&av, c.av}, {&at, c.at}})
        to->push_back(value);
    const size_t n = comps.size();
    kij = vij = std::vector<double>(2 * n * n, 0.0);
    kijset = vijset = std::vector<double>(n, 0.0);
    ecrflg = eij = epsab = std::vector<double>(n * n, 0.0);
    iwork.assign(n * n + 14 * n, 0);  // work sizes as the public header documents them
    rwork.assign(10 * n * n + 50 * n, 0.0);
    itype.assign(n, 0);
  }

  // Record (c1, c2) of the ordered pair of component numbers (k, l) of a
  // binary parameter (kij or vij) and its row flag.
  void SetPair(std::vector<double>& coef, int64_t k, int64_t l, double c1, double c2) {
    const size_t pair = static_cast<size_t>((l - 1) * ncc_ + (k - 1));
    coef[2 * pair] = c1;
    coef[2 * pair + 1] = c2;
    (&coef == &kij ? kijset : vijset)[static_cast<size_t>(k - 1)] = 1.0;
  }
  void SetKij(int64_t k, int64_t l, double c1, double c2) { SetPair(kij, k, l, c1, c2); }

  Result Call(double T, double P, const std::vector<int64_t>& idx, const std::vector<double>& x,
              const Request& r) {
    Result out;
    const int64_t n = static_cast<int64_t>(idx.size());
    out.phi.assign(idx.size(), r.fill);
    out.dphidt = out.phi;
    for (double* o : {&out.dh, &out.ds, &out.dg, &out.dhdt, &out.dsdt, &out.dgdt, &out.dvdt})
      *o = r.fill;
    out.v = r.v_in;
    double xawrk[4] = {};
    double arg47 = 0, arg48 = 0, arg50 = 0;
    PPCPA_CPAPROP(&T, &P, x.data(), &n, idx.data(), &ncc_, tc.data(), pc.data(), m.data(),
                  au.data(), av.data(), kij.data(), at.data(), vij.data(), kijset.data(),
                  vijset.data(), ecrflg.data(), eij.data(), &r.kvl, &r.kphi, &r.kh, &r.ks, &r.kg,
                  &r.kv, &r.kder, out.phi.data(), &out.dh, &out.ds, &out.dg, &out.v,
                  out.dphidt.data(), &out.dhdt, &out.dsdt, &out.dgdt, &out.dvdt, &out.z, &out.dpdv,
                  &out.dp2dvdt, &out.dpdt, &out.dp2dv2, iwork.data(), rwork.data(), epsab.data(),
                  itype.data(), &r.unit, &r.kdiag, &arg47, &arg48, xawrk, &arg50, &out.pcalc,
                  &r.kvstrt, &out.ierr, &r.ih2o, &r.ktol);
    return out;
  }
  // Components 1..N in their own order.
  Result Call(double T, double P, const std::vector<double>& x, const Request& r) {
    std::vector<int64_t> idx(x.size());
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int64_t>(i) + 1;
    return Call(T, P, idx, x, r);
  }

  std::vector<double> tc, pc, m, au, av, at, kij, vij, kijset, vijset, ecrflg, eij;
  std::vector<int64_t> iwork;
  std::vector<double> rwork, epsab;
  std::vector<int64_t> itype;

 private:
  int64_t ncc_;
};

// All state the routine keeps between calls back at its load value, root memory off.
inline void ResetCpaState() {
  using namespace thermomodels;
  CPAPROP_SAVED = CpapropSaved{};
  CPA1_SAVED = Cpa1Saved{kNoValue};
  std::memset(&PPCPA_CPACOM, 0, sizeof PPCPA_CPACOM);
  std::memset(&PPUTL_EOSRET, 0, sizeof PPUTL_EOSRET);
  std::memset(&PPUTL_ESROOT, 0, sizeof PPUTL_ESROOT);
  DMS_GLOBAL.IUNIT = 6;
}

}  // namespace cpa_test
