! Fortran interface to the thermomodels library for hosts written in Fortran:
! the exported routines as bind(C) interfaces and the global blocks as bind(C)
! module variables, with the same names, argument order and kinds as the C
! header thermomodels.h (where every argument is documented). Compile this
! file with the host and link with -lthermomodels.
!
! Arguments are passed by reference, as Fortran does by default; integers are
! integer(c_int64_t) except output units and the water property code
! (integer(c_int32_t)); a character argument's length follows the argument
! list as a value of kind c_size_t. Calls into the library must not overlap.
module thermomodels
  use, intrinsic :: iso_c_binding, only: c_char, c_double, c_int32_t, c_int64_t, c_size_t
  implicit none
  private :: c_char, c_double, c_int32_t, c_int64_t, c_size_t

  ! No-value marker: a quantity without value, or an input not given.
  real(c_double), parameter :: tm_no_value = 1.0e35_c_double
  ! Words of the storage pool DMS_PLEX.
  integer(c_int64_t), parameter :: tm_plex_words = 1048576_c_int64_t

  ! Root-solver state: 14 integer words, then 30 real words.
  type, bind(C) :: tm_esroot_block
    integer(c_int64_t) :: iw(14)
    real(c_double) :: rw(30)
  end type tm_esroot_block
  type(tm_esroot_block), bind(C, name="PPUTL_ESROOT") :: pputl_esroot

  ! Root memory control (host-set).
  type, bind(C) :: tm_eosret_block
    integer(c_int64_t) :: istate, liqno, ipiv, ipil1, ipil2, rpiv, rpil1, rpil2, nmax, nsaved
  end type tm_eosret_block
  type(tm_eosret_block), bind(C, name="PPUTL_EOSRET") :: pputl_eosret

  ! The storage pool of 8-byte words where the root memory keeps its records.
  type, bind(C) :: tm_plex_block
    real(c_double) :: words(1048576)
  end type tm_plex_block
  type(tm_plex_block), bind(C, name="DMS_PLEX") :: dms_plex

  ! Host settings: word 1 is the 32-bit diagnostic output unit.
  type, bind(C) :: tm_global_block
    integer(c_int32_t) :: iunit
    integer(c_int32_t) :: spare(63)
  end type tm_global_block
  type(tm_global_block), bind(C, name="DMS_GLOBAL") :: dms_global

  ! Host overrides of the CPA diagnostics.
  type, bind(C) :: tm_cpacom_block
    integer(c_int64_t) :: lvlcpa, iusegu, iopenf, kdiga, kdigb, kdigc
    character(kind=c_char) :: filnam(128)
  end type tm_cpacom_block
  type(tm_cpacom_block), bind(C, name="PPCPA_CPACOM") :: ppcpa_cpacom

  ! Pressure derivatives of the latest PPCPA_CPAPROP call.
  type, bind(C) :: tm_esrder_block
    real(c_double) :: dpdv, unused2, dp2dv2, dp2dvdt, dpdt
  end type tm_esrder_block
  type(tm_esrder_block), bind(C, name="ESRDER") :: esrder

  interface
    subroutine queltrin_if97prph(t, p, v, kprop, kphase, kregion, value, ierr) &
        bind(C, name="QUELTRIN_IF97PRPH")
      import :: c_double, c_int32_t, c_int64_t
      real(c_double), intent(in) :: t, p, v
      integer(c_int32_t), intent(in) :: kprop
      integer(c_int64_t), intent(in) :: kphase, kregion
      real(c_double), intent(out) :: value
      integer(c_int64_t), intent(out) :: ierr
    end subroutine queltrin_if97prph

    subroutine queltrin_fdregion(t, p, kvl, kregion, tout, pout, vout, lvlprt, iunit, ierr) &
        bind(C, name="QUELTRIN_FDREGION")
      import :: c_double, c_int32_t, c_int64_t
      real(c_double), intent(in) :: t, p
      integer(c_int64_t), intent(in) :: kvl, lvlprt
      integer(c_int64_t), intent(out) :: kregion, ierr
      real(c_double), intent(out) :: tout, pout, vout
      integer(c_int32_t), intent(in) :: iunit
    end subroutine queltrin_fdregion

    subroutine queltrin_es15d(t, p, lvlprt, kvl, iunit, kphi, kh, ks, kg, kv, &
                              phi, dh, ds, dg, v, ierr) bind(C, name="QUELTRIN_ES15D")
      import :: c_double, c_int32_t, c_int64_t
      real(c_double), intent(in) :: t, p
      integer(c_int64_t), intent(in) :: lvlprt, kvl, kphi, kh, ks, kg, kv
      integer(c_int32_t), intent(in) :: iunit
      real(c_double), intent(inout) :: phi, dh, ds, dg, v
      integer(c_int64_t), intent(out) :: ierr
    end subroutine queltrin_es15d

    subroutine ppcpa_cpaprop(t, p, x, n, idx, ncc, tc, pc, m, au, av, kij, at, vij, kijset, &
                             vijset, ecrflg, eij, kvl, kphi, kh, ks, kg, kv, kder, phimx, dhmx, &
                             dsmx, dgmx, vmx, dphidt, dhdt, dsdt, dgdt, dvdt, zmx, dpdv, &
                             dp2dvdt, dpdt, dp2dv2, iwork, rwork, epsab, itype, iunit, kdiag, &
                             a47, a48, xawrk, a50, pcalc, kvstrt, ierr, ih2o, ktol) &
        bind(C, name="PPCPA_CPAPROP")
      import :: c_double, c_int32_t, c_int64_t
      real(c_double), intent(in) :: t, p, x(*), tc(*), pc(*), m(*), au(*), av(*), kij(*), at(*)
      real(c_double), intent(in) :: vij(*), kijset(*), vijset(*), ecrflg(*), eij(*)
      integer(c_int64_t), intent(in) :: n, idx(*), ncc, kvl, kphi, kh, ks, kg, kv, kder
      real(c_double), intent(inout) :: phimx(*), dhmx, dsmx, dgmx, vmx, dphidt(*), dhdt, dsdt
      real(c_double), intent(inout) :: dgdt, dvdt, zmx, dpdv, dp2dvdt, dpdt, dp2dv2
      integer(c_int64_t), intent(inout) :: iwork(*), itype(*)
      real(c_double), intent(inout) :: rwork(*), epsab(*), xawrk(*), pcalc
      ! Not read: a host may leave them out (a null pointer is passed), and
      ! then names the arguments after them.
      real(c_double), intent(inout), optional :: a47, a48, a50
      integer(c_int32_t), intent(in) :: iunit
      integer(c_int64_t), intent(in) :: kdiag, kvstrt, ih2o, ktol
      integer(c_int64_t), intent(out) :: ierr
    end subroutine ppcpa_cpaprop

    subroutine ppcpa_opclfile(iunit, filename, mode, ierr, filename_len) &
        bind(C, name="PPCPA_OPCLFILE")
      import :: c_char, c_int32_t, c_int64_t, c_size_t
      integer(c_int32_t), intent(in) :: iunit
      character(kind=c_char), intent(in) :: filename(*)
      integer(c_int64_t), intent(in) :: mode
      integer(c_int64_t), intent(out) :: ierr
      integer(c_size_t), value :: filename_len
    end subroutine ppcpa_opclfile

    ! Sour-water model: temperature K, pressure atm (Pa for ppth_inflgpsw).
    ! Aliases are 24-character records by host component number (a
    ! character(len=24) array passes as it is), four characters to each
    ! 8-character word: no hidden length follows.
    subroutine ppth_chkcmp(nc, idx, ngpsw, modidx, pos, alias, nkey, nrec, iwat, kopt) &
        bind(C, name="PPTH_CHKCMP")
      import :: c_char, c_int64_t
      integer(c_int64_t), intent(in) :: nc, idx(*), kopt
      integer(c_int64_t), intent(out) :: ngpsw, nkey, nrec, iwat
      integer(c_int64_t), intent(inout) :: modidx(*), pos(*)
      character(kind=c_char), intent(in) :: alias(24, *)
    end subroutine ppth_chkcmp

    subroutine ppth_phivgpsw(t, p, n, idx, y, lnphi, work) bind(C, name="PPTH_PHIVGPSW")
      import :: c_double, c_int64_t
      real(c_double), intent(in) :: t, p, y(*)
      integer(c_int64_t), intent(in) :: n, idx(*)
      real(c_double), intent(out) :: lnphi(*)
      real(c_double), intent(inout) :: work(*)
    end subroutine ppth_phivgpsw

    subroutine ppth_philgpsw(t, p, n, idx, x, lnphi, ph, kph, work) &
        bind(C, name="PPTH_PHILGPSW")
      import :: c_double, c_int64_t
      real(c_double), intent(in) :: t, p, x(*), ph
      integer(c_int64_t), intent(in) :: n, idx(*), kph
      real(c_double), intent(out) :: lnphi(*)
      real(c_double), intent(inout) :: work(*)
    end subroutine ppth_philgpsw

    subroutine ppth_inflgpsw(t, p, nc, idx, z, x, y, a8, kode, work, iflag) &
        bind(C, name="PPTH_INFLGPSW")
      import :: c_double, c_int64_t
      real(c_double), intent(in) :: t, z(*), a8
      real(c_double), intent(inout) :: p, x(*), y(*), work(*)
      integer(c_int64_t), intent(in) :: nc, idx(*), kode
      integer(c_int64_t), intent(out) :: iflag
    end subroutine ppth_inflgpsw
  end interface
end module thermomodels
