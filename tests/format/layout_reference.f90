! Reference table for the line layout formatter: the same layouts and values
! as line_layout_oracle_test.cpp, written by the Fortran runtime. The C++ test
! builds the table with kelda::layout and compares the two byte for byte, so
! the two programs must walk the same sections in the same order.
!
! Values are defined by decimal texts ("-12345E-3") that both sides convert
! with a correctly rounded reader, so that both format the same doubles.
!
! Usage: layout_reference <output file>
program layout_reference
  implicit none
  integer, parameter :: dp = kind(1d0)
  integer, parameter :: i8 = selected_int_kind(18)

  ! Real field formats of the systematic sweep.
  character(len=6), parameter :: realFmt(18) = [character(len=6) :: &
    'F7.3', 'F7.5', 'F10.2', 'F4.1', 'F3.0', 'F2.0', 'F12.6', 'F30.10', &
    'E10.3', 'E12.3', 'E13.4', 'E14.3', 'E9.3', 'E8.3', 'E20.12', 'D10.3', 'D12.4', 'E7.1']
  ! Extra narrow and wide fields for the boundary values.
  character(len=6), parameter :: extraFmt(14) = [character(len=6) :: &
    'F1.0', 'F3.1', 'F4.3', 'F5.3', 'F8.0', 'F9.0', 'E3.1', 'E4.1', 'E5.1', 'E6.1', &
    'E9.2', 'E30.20', 'F40.30', 'D9.2']
  ! Digit patterns: rounding carries (95, 995, 9995...), ties in decimal
  ! (45, 445, 455...) and exact binary ties once scaled (125, 375, 15, 25).
  integer, parameter :: patterns(27) = [1, 4, 5, 6, 9, 12, 45, 95, 99, 123, 445, 455, 995, 999, &
    1001, 4445, 9995, 9999, 12345, 99995, 123456, 999995, 1234567, 15, 25, 125, 375]
  integer, parameter :: decadeLo = -12, decadeHi = 12
  character(len=24), parameter :: boundary(53) = [character(len=24) :: &
    '0', '-0', '0.9995', '-0.9995', '0.99949999', '9.9995E5', '9.99949E5', '0.5', '-0.5', &
    '-12345.6', '1234.567', '999.9995', '-99.9995', '0.0005', '0.0625', '0.1875', '1.125', &
    '2.5', '3.5', '0.25', '0.05', '0.95', '0.995', '9.995', '99.995', '1E-10', '-1E-10', &
    '-0.0004', '1E-99', '1E-100', '9.9996E-100', '-1E-101', '1E99', '9.9996E98', '1E100', &
    '-1E100', '1.7976931348623157E308', '-1.7976931348623157E308', '2.2250738585072014E-308', &
    '4.9E-324', '-4.9E-324', '1E-320', '123456789012345678', '1E17', '1E22', '1E23', &
    '9999999.9', '99999.5', '0.45', '0.55', 'Inf', '-Inf', 'NaN']
  character(len=6), parameter :: intFmt(8) = [character(len=6) :: &
    'I1', 'I2', 'I3', 'I4', 'I5', 'I10', 'I19', 'I20']
  character(len=6), parameter :: textFmt(5) = [character(len=6) :: 'A', 'A1', 'A3', 'A8', 'A70']
  character(len=6), parameter :: logicalFmt(4) = [character(len=6) :: 'L1', 'L2', 'L3', 'L9']
  character(len=*), parameter :: alphabet = &
    'The quick brown fox jumps over the lazy dog 0123456789 !#$%&*+-./:;<=>?@[]^_{}~'

  integer :: u, idx, k, e, j, s, n, nv
  integer(i8) :: p, ivals(80)
  real(dp) :: x, vals(2 * size(patterns))
  character(len=24) :: vtext
  character(len=6) :: name
  character(len=512) :: path
  character(len=200) :: fmt

  call get_command_argument(1, path)
  open(newunit=u, file=trim(path), status='replace', action='write', form='formatted')
  idx = 0

  ! 1. Every real format with every pattern in every decade, both signs.
  do k = 1, size(realFmt)
    fmt = '(I6,1X,A6,1X,A14,"|",' // trim(realFmt(k)) // ',"|")'
    do e = decadeLo, decadeHi
      do j = 1, size(patterns)
        do s = 1, 2
          call decimal(s, patterns(j), e, vtext)
          read(vtext, *) x
          idx = idx + 1
          write(u, fmt) idx, trim(realFmt(k)), trim(vtext), x
        end do
      end do
    end do
  end do

  ! 2. Boundary values with every real format.
  do k = 1, size(realFmt) + size(extraFmt)
    if (k <= size(realFmt)) then
      name = realFmt(k)
    else
      name = extraFmt(k - size(realFmt))
    end if
    fmt = '(I6,1X,A6,1X,A24,"|",' // trim(name) // ',"|")'
    do j = 1, size(boundary)
      vtext = boundary(j)
      read(vtext, *) x
      idx = idx + 1
      write(u, fmt) idx, trim(name), trim(vtext), x
    end do
  end do

  ! 3. Integers: powers of ten and their neighbours, both signs, extremes.
  n = 0
  p = 1
  do j = 0, 18
    ivals(n + 1) = p
    ivals(n + 2) = p - 1
    ivals(n + 3) = -p
    ivals(n + 4) = -(p - 1)
    n = n + 4
    if (j < 18) p = p * 10
  end do
  ivals(n + 1) = huge(p)
  ivals(n + 2) = -huge(p) - 1
  n = n + 2
  do k = 1, size(intFmt)
    fmt = '(I6,1X,A6,1X,I20,"|",' // trim(intFmt(k)) // ',"|")'
    do j = 1, n
      idx = idx + 1
      write(u, fmt) idx, trim(intFmt(k)), ivals(j), ivals(j)
    end do
  end do

  ! 4. Texts of every length from 0 to 75 with and without a width; logicals.
  do k = 1, size(textFmt)
    fmt = '(I6,1X,A6,1X,I3,"|",' // trim(textFmt(k)) // ',"|")'
    do j = 0, 75
      idx = idx + 1
      write(u, fmt) idx, trim(textFmt(k)), j, alphabet(1:j)
    end do
  end do
  do k = 1, size(logicalFmt)
    fmt = '(I6,1X,A6,"|",' // trim(logicalFmt(k)) // ',"|",' // trim(logicalFmt(k)) // ',"|")'
    idx = idx + 1
    write(u, fmt) idx, trim(logicalFmt(k)), .true., .false.
  end do

  ! 5. Reversion with many values: all values of one decade in one write.
  do e = decadeLo, decadeHi
    nv = 0
    do j = 1, size(patterns)
      do s = 1, 2
        call decimal(s, patterns(j), e, vtext)
        nv = nv + 1
        read(vtext, *) vals(nv)
      end do
    end do
    idx = idx + 1
    write(u, '(I6,4(1X,E12.3))') idx, vals(1:nv)
    idx = idx + 1
    write(u, '(I6,/,(1X,5F10.3))') idx, vals(1:nv)
    idx = idx + 1
    write(u, '(I6,2(1X,I4,1X,D10.3))') idx, (j, vals(j), j = 1, nv)
  end do

  ! 6. Layout structure: slashes, literals, X at the end of a line, early
  !    stop, reversion into nested groups, and the report's own layouts.
  call header(1)
  write(u, '(/,6X,''Stage No :'',I2,2X,A70)') 3, 'SHEET PILE WALL - STAGE 3'
  call header(2)
  write(u, '("   STA",3X,I4,2X,5E10.3)') 12, 1.5_dp, -2.25_dp, 0.0_dp, 1e-5_dp, 123456.0_dp
  call header(3)
  write(u, '("   STA",3X,I4,2X,5E10.3)') 12, 1.5_dp, -2.25_dp
  call header(4)
  write(u, '(/,/,/,''     END OF ANALYSIS                             '')')
  call header(5)
  write(u, '(''     FROM TO CONTD     EI         Q        S''''        T         R         P'')')
  call header(6)
  write(u, '("q""q",''it''''s'')')
  call header(7)
  write(u, '(/)')
  call header(8)
  write(u, '(//)')
  call header(9)
  write(u, '(''a'',//,''b'',/)')
  call header(10)
  write(u, '(2/,''c'')')
  call header(11)
  write(u, '(A,5X)') 'ab'
  call header(12)
  write(u, '(A,5X,/,A,3X)') 'ab', 'cd'
  call header(13)
  write(u, '(A,5X,A)') 'ab', ''
  call header(14)
  write(u, '(2(I3,2X))') 1, 2
  call header(15)
  write(u, '(2(I3,2X))') 1
  call header(16)
  write(u, '(''a'',/,I2,''b'',/,I3,''c'')') 1
  call header(17)
  write(u, '(''a'',/,I2,''b'',/,I3,''c'')')
  call header(18)
  write(u, '(I2,I3)') 1, 2, 3, 4, 5
  call header(19)
  write(u, '(I2,2(I3,1X),I4)') 1, 2, 3, 4, 5, 6, 7, 8
  call header(20)
  write(u, '(I2,(I3,2(I4)))') 1, 2, 3, 4, 5, 6, 7, 8
  call header(21)
  write(u, '(3(''x'',I2))') 1, 2
  call header(22)
  write(u, '(5X,2I4,I3,1X,6E10.3)') 1, 10, 0, 3.0e7_dp, 0.0_dp, 0.0_dp, 0.0_dp, 0.0_dp, 0.0_dp
  call header(23)
  write(u, '(10X,I3,7X,I2,3X,2(5X,E10.3))') 5, 3, -0.00125_dp, 2.5e-3_dp
  call header(24)
  write(u, '(/,9X,I4,I3,5X,2E14.3,1(10X,I3))') 7, 0, 1.0_dp, 0.5_dp, 12
  call header(25)
  write(u, '(2X,I4,2X,E10.3,6E12.3)') 0, 0.0_dp, -0.0_dp, 1.0e-3_dp, -250.0_dp, 12.5_dp, &
    -1.0e-300_dp, 2.9e10_dp
  call header(26)
  write(u, '(18X,A4,A1,A2,A2,A1,4X,A4,4X,A4,A1,A2,3X,A3,A1,A3,2X,A3,A1,A3,4X,A4)') &
    ' LBS', '-', 'IN', '**', '2', ' LBS', ' LBS', '/', 'IN', ' IN', '-', 'LBS', ' IN', '-', 'LBS', ' LBS'
  call header(27)
  write(u, '(/,''                    '')')
  call header(28)
  write(u, '(''['',A,'']'',A3,''|'',A3)') 'abc', 'abcdef', ''
  call header(29)
  write(u, '(1X,L1,L3,2X,L2)') .true., .false., .true.
  call header(30)
  write(u, '(6X,''NUMBER OF INCREMENTS                               = '',I3,/,' // &
    '6X,''INCREMENT LENGTH                                   = '',F7.3,A3)') 40, 0.5_dp, ' IN'
  call header(31)
  write(u, '(i3,f7.2,e10.3,a4,l2)') -7, 3.14159_dp, -2.5e-7_dp, 'kN', .false.
  call header(32)
  write(u, '(3X,2(I2,2(1X,F5.1)),''|'')') 1, 1.0_dp, 2.0_dp, 2, 3.0_dp, 4.0_dp, 3, 5.0_dp
  call header(33)
  write(u, '()')

  close(u)

contains

  subroutine decimal(sgn, m, ex, text)
    integer, intent(in) :: sgn, m, ex
    character(len=*), intent(out) :: text
    if (sgn == 2) then
      write(text, '("-",I0,"E",I0)') m, ex
    else
      write(text, '(I0,"E",I0)') m, ex
    end if
  end subroutine

  subroutine header(n)
    integer, intent(in) :: n
    write(u, '("== case ",I3)') n
  end subroutine

end program layout_reference
