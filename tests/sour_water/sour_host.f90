! A Fortran host calling the sour-water exports through the library's interface module:
! aliases as 24-character records with no hidden length, 64-bit integers, pressure in atm.
program sour_host
  use, intrinsic :: iso_c_binding, only: c_double, c_int64_t
  use thermomodels
  implicit none
  ! Host components 1 ammonia, 2 water, 3 n-butane: four characters to each 8-character word.
  character(len=24), parameter :: names(3) = [character(len=24) :: 'H3N', 'H2O', 'C4H1    0-1']
  real(c_double) :: lnphi(1), work(800)
  integer(c_int64_t) :: ngpsw, modidx(20), pos(20), nkey, nrec, iwat
  integer :: failures = 0

  pos = 0
  call ppth_chkcmp(3_c_int64_t, [1_c_int64_t, 2_c_int64_t, 3_c_int64_t], ngpsw, modidx, pos, &
                   names, nkey, nrec, iwat, 0_c_int64_t)
  call check('chkcmp slots in use', real(ngpsw, c_double), 5.0_c_double, 0.0_c_double)
  call check('chkcmp n-butane model index', real(modidx(5), c_double), 9.0_c_double, 0.0_c_double)
  call check('chkcmp positions', real(10 * pos(1) + pos(2), c_double), 21.0_c_double, 0.0_c_double)
  call check('chkcmp water list position', real(iwat, c_double), 2.0_c_double, 0.0_c_double)
  ! Water vapour at 373.15 K and 1 atm: ln phi about B p / (R T), B near -450 cm3/mol.
  call ppth_phivgpsw(373.15_c_double, 1.0_c_double, 1_c_int64_t, [1_c_int64_t], &
                     [1.0_c_double], lnphi, work)
  call check('phivgpsw water at 373.15 K, 1 atm', lnphi(1), -0.0149389039_c_double, 1.0e-9_c_double)
  ! Liquid water at 298.15 K and 1 atm: no ions form (regression value of the library).
  call ppth_philgpsw(298.15_c_double, 1.0_c_double, 1_c_int64_t, [1_c_int64_t], &
                     [1.0_c_double], lnphi, 7.0_c_double, 0_c_int64_t, work)
  call check('philgpsw water at 298.15 K, 1 atm', lnphi(1), -3.4815033261_c_double, 1.0e-9_c_double)
  if (failures /= 0) stop 1
  print '(a)', 'fortran sour-water host: all values reproduced'
contains
  include '../water/drivers/host_check.inc'
end program sour_host
