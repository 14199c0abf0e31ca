! A Fortran host built against the installed library and its interface
! module: the saturation temperature at 0.1 MPa, 372.755919 K (IAPWS-IF97,
! Table 35).
program fortran_consumer
  use, intrinsic :: iso_c_binding, only: c_double, c_int32_t, c_int64_t
  use thermomodels
  implicit none
  real(c_double) :: value
  integer(c_int64_t) :: ierr

  call queltrin_if97prph(300.0_c_double, 1.0e5_c_double, tm_no_value, 15_c_int32_t, &
                         0_c_int64_t, 0_c_int64_t, value, ierr)
  if (ierr /= 0 .or. abs(value - 372.755919_c_double) > 1.0e-6_c_double) then
    print '(a, es22.14)', 'fortran consumer: saturation temperature ', value
    error stop 1
  end if
  print '(a, f12.6, a)', 'fortran consumer: saturation temperature at 1 bar ', value, ' K'
end program fortran_consumer
