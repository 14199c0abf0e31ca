// Association types: the built-in site tables and the registry of
// user-defined types given by the digits of their code.
#include <algorithm>

#include "association/association.h"
#include "eos_roots/eos_roots.h"

namespace thermomodels {

namespace {

// Built-in types 1..9: number of sites and the sign of each (+1 and -1 are
// the two site kinds, 2 a site of both kinds).
struct BuiltinType {
  int64_t count;
  int64_t signs[4];
};
constexpr BuiltinType kBuiltinTypes[9] = {
    {1, {2, 0, 0, 0}},   {2, {-1, 1, 0, 0}}, {3, {-1, -1, 1, 0}},
    {4, {-1, -1, 1, 1}}, {4, {1, 1, 1, -1}}, {1, {-1, 0, 0, 0}},
    {2, {-1, -1, 0, 0}}, {1, {1, 0, 0, 0}},  {2, {1, 1, 0, 0}},
};

AssociationTypes MakeBuiltinTypes() {
  AssociationTypes t{};
  for (int64_t code = 1; code <= 9; ++code) {
    const BuiltinType& b = kBuiltinTypes[code - 1];
    t.NSITES[code - 1] = b.count;
    for (int64_t s = 0; s < b.count; ++s) t.SITES[(code - 1) * kAssocSitesPerType + s] = b.signs[s];
  }
  return t;
}

void WriteRegistryError(int32_t unit, const char* reason, int64_t code) {
  WriteLine(unit, "***ERROR IN PC-SAFT/CPA ASSOCIATION CALCULATIONS***");
  if (code == 0) {
    WriteLine(unit, reason);
  } else {
    WriteLine(unit, reason, code);
  }
}

}  // namespace

AssociationTypes ASSOC_TYPES = MakeBuiltinTypes();

void ResetAssociationTypes() { ASSOC_TYPES = MakeBuiltinTypes(); }

void REGTYP(const int64_t& NCC, int64_t* ITYPE, const int32_t& IUNIT) {
  AssociationTypes& t = ASSOC_TYPES;
  for (int64_t k = 1; k <= NCC; ++k) {
    const int64_t code = ITYPE[k - 1];
    if (code <= 100) continue;
    const int64_t slot = IFINDI(code, t.IREG, 1, t.NREG);
    if (slot > 0) {
      ITYPE[k - 1] = slot + 9;
      continue;
    }
    // The digits of the code: below 1000 the hundreds digit only marks the
    // code; from 1000 on the digits of the remainder modulo 1000 count
    // 2-sites, +1 sites and -1 sites.
    const int64_t low = code < 1000 ? code : code % 1000;
    const int64_t both = code < 1000 ? 0 : low / 100;
    const int64_t plus = (low / 10) % 10;
    const int64_t minus = low % 10;
    if (both + plus + minus > kAssocSitesPerType) {
      WriteRegistryError(IUNIT,
                         "USER-DEFINED ASSOCIATION TYPE HAS MORE THAN 10 SITES. CODE = ", code);
      continue;
    }
    if (t.NREG >= kAssocUserTypes) {
      WriteRegistryError(IUNIT, "NUMBER OF USER-DEFINED ASSOCIATION TYPES EXCEEDS 11", 0);
      continue;
    }
    const int64_t r = ++t.NREG;
    t.IREG[r - 1] = code;
    const int64_t type = r + 9;
    ITYPE[k - 1] = type;
    int64_t* signs = &t.SITES[(type - 1) * kAssocSitesPerType];
    std::fill(signs, signs + kAssocSitesPerType, 0);
    int64_t s = 0;
    for (int64_t i = 0; i < both; ++i) signs[s++] = 2;
    for (int64_t i = 0; i < plus; ++i) signs[s++] = 1;
    for (int64_t i = 0; i < minus; ++i) signs[s++] = -1;
    t.NSITES[type - 1] = s;
  }
}

}  // namespace thermomodels

namespace thermomodels {

int64_t SiteRowsNeeded(const SiteModel& m, int64_t pos) {
  const int64_t c = m.idx[pos - 1];
  if (c < 1 || c > m.ldg) return 0;
  const int64_t ngroups = m.igrp[c - 1];
  if (ngroups < 1) return AssocSiteCount(m.nsites, m.itype[c - 1]);
  int64_t rows = 0;
  for (int64_t l = 1; l <= ngroups; ++l) {
    const int64_t g = m.igrp[l * m.ldg + (c - 1)];
    if (g >= 1 && g <= m.ldg) rows += AssocSiteCount(m.nsites, m.itype[g - 1]);
  }
  return rows;
}

bool MergeSource(int64_t code, int64_t nv, int64_t& var, double& factor) {
  var = code < 1000 ? code : code % 1000;
  factor = code < 1000 ? 1.0 : (code / 1000 == 3 ? 2.0 : 3.0);
  return var >= 1 && var <= nv;
}

}  // namespace thermomodels
