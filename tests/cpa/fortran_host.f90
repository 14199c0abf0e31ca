! The CPA routine called through the library's Fortran interface module: the
! diagnostic block as bound module data, the three unread arguments left out,
! and the history-file routine with the length of its character argument.
program fortran_host
  use, intrinsic :: iso_c_binding
  use thermomodels
  implicit none
  integer(c_int64_t), parameter :: ncc = 1
  real(c_double) :: x(1), tc(1), pc(1), m(1), au(1), av(1), at(1), kij(2), vij(2)
  real(c_double) :: kijset(1), vijset(1), ecrflg(1), eij(1), phimx(1), dphidt(1)
  real(c_double) :: dhmx, dsmx, dgmx, vmx, dhdt, dsdt, dgdt, dvdt, zmx, dpdv, dp2dvdt, dpdt
  real(c_double) :: dp2dv2, pcalc, xawrk(1), t, p
  real(c_double) :: rwork(10 * ncc * ncc + 50 * ncc), epsab(ncc * ncc)
  integer(c_int64_t) :: iwork(ncc * ncc + 14 * ncc), itype(ncc), idx(1), ierr, one, zero, two
  integer(c_int64_t) :: kdiag, ktol, mode
  integer(c_int32_t) :: unit
  character(kind=c_char, len=20) :: name
  logical :: exists
  integer :: scratch

  ! History file: open on a unit, close, and an unknown mode.
  name = "fortran_host.his"
  unit = 71
  mode = 1
  call ppcpa_opclfile(unit, name, mode, ierr, int(len(name), c_size_t))
  call check(ierr == 0, "open mode 1")
  mode = 2
  call ppcpa_opclfile(unit, name, mode, ierr, int(len(name), c_size_t))
  call check(ierr == 0, "close mode 2")
  inquire(file="fortran_host.his", exist=exists)
  call check(exists, "file opened under its trimmed name")
  mode = 3
  call ppcpa_opclfile(unit, "other.his", mode, ierr, 9_c_size_t)
  call check(ierr == 1, "mode 3 refused")
  inquire(file="other.his", exist=exists)
  call check(.not. exists, "mode 3 touches no file")

  ! Pure water (4C) liquid at 298.15 K and 101325 Pa, with host overrides of
  ! the print level and the second diagnostic digit.
  ppcpa_cpacom%lvlcpa = 1
  ppcpa_cpacom%kdigb = 7
  x = 1.0d0; idx = 1; kij = 0.0d0; vij = 0.0d0; kijset = 0.0d0; vijset = 0.0d0
  ecrflg = 0.0d0; eij = 0.0d0; one = 1; zero = 0; two = 2; kdiag = 0; ktol = 1; unit = 6
  tc = 303.17135848344367d0; pc = 15045914.360250035d0; m = 0.38016508919624575d0
  au = 2003.1367040072357d0; av = 0.0692d0; at = 4.0d0
  t = 298.15d0; p = 101325.0d0; vmx = 0.0d0
  call ppcpa_cpaprop(t, p, x, one, idx, ncc, tc, pc, m, au, av, kij, at, vij, kijset, vijset, &
                     ecrflg, eij, two, one, one, one, one, one, one, phimx, dhmx, dsmx, dgmx, &
                     vmx, dphidt, dhdt, dsdt, dgdt, dvdt, zmx, dpdv, dp2dvdt, dpdt, dp2dv2, &
                     iwork, rwork, epsab, itype, unit, kdiag, xawrk=xawrk, pcalc=pcalc, &
                     kvstrt=zero, ierr=ierr, ih2o=zero, ktol=ktol)
  call check(ierr == 0, "water liquid converged")
  call check(abs(vmx - 0.0179259483d0) < 1.0d-6 * 0.0179259483d0, "water molar volume")
  call check(abs(phimx(1) + 3.46391383d0) < 1.0d-6 * 3.46391383d0, "water ln phi")
  call check(abs(esrder%dpdv - dpdv) <= 0.0d0 .and. dpdt > 0.0d0, "ESRDER and dP/dT with KDER 1")
  open(newunit=scratch, file="fortran_host.his")
  close(scratch, status="delete")
  print '(a)', "fortran_host: all checks passed"

contains

  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (.not. ok) then
      print '(2a)', "fortran_host: FAILED: ", what
      error stop 1
    end if
  end subroutine check

end program fortran_host
