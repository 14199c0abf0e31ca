! A Fortran host calling the water exports through the library's Fortran interface module, with
! Fortran's by-reference argument passing: 64-bit integers, a 32-bit property code and unit.
program water_host
  use, intrinsic :: iso_c_binding, only: c_double, c_int32_t, c_int64_t
  use thermomodels
  implicit none
  real(c_double) :: value, tout, pout, vout, phi, dh, ds, dg, v
  integer(c_int64_t) :: ierr, kregion
  integer :: failures = 0

  ! Region 1 molar volume at 300 K and 1 bar; region code 6 fails: IERR 1 and the marker 1e35.
  call queltrin_if97prph(300.0_c_double, 1.0e5_c_double, 1.0e35_c_double, 5_c_int32_t, &
                         0_c_int64_t, 1_c_int64_t, value, ierr)
  call check('if97prph volume', value, 0.01807743188_c_double, 1.0e-11_c_double)
  call queltrin_if97prph(300.0_c_double, 1.0e5_c_double, 1.0e35_c_double, 2_c_int32_t, &
                         0_c_int64_t, 6_c_int64_t, value, ierr)
  call check('if97prph status, region 6', real(ierr, c_double), 1.0_c_double, 0.0_c_double)
  call check('if97prph marker, region 6', value, 1.0e35_c_double, 0.0_c_double)
  ! Vapour at 700 K and 400 bar is region 3, its volume from the root search.
  call queltrin_fdregion(700.0_c_double, 4.0e7_c_double, 1_c_int64_t, kregion, tout, pout, &
                         vout, 0_c_int64_t, 6_c_int32_t, ierr)
  call check('fdregion region', real(kregion, c_double), 3.0_c_double, 0.0_c_double)
  call queltrin_if97prph(tout, pout, vout, 14_c_int32_t, 0_c_int64_t, 3_c_int64_t, value, ierr)
  call check('fdregion region-3 pressure', value, 4.0e7_c_double, 4.0_c_double)
  ! Equation-of-state form: liquid at 270 K, with V not requested.
  v = -1.0_c_double
  call queltrin_es15d(270.0_c_double, 101325.0_c_double, 0_c_int64_t, 2_c_int64_t, &
                      6_c_int32_t, 1_c_int64_t, 1_c_int64_t, 1_c_int64_t, 1_c_int64_t, &
                      0_c_int64_t, phi, dh, ds, dg, v, ierr)
  call check('es15d ln phi', phi, -5.3390275_c_double, 1.0e-7_c_double)
  call check('es15d Gibbs departure', dg, -11991428.24_c_double, 0.01_c_double)
  call check('es15d volume untouched', v, -1.0_c_double, 0.0_c_double)
  if (failures /= 0) then
    print '(a, i0, a)', 'fortran water host: ', failures, ' FAILED'
    stop 1
  end if
  print '(a)', 'fortran water host: all values reproduced'

contains

  include 'host_check.inc'

end program water_host
