Number of called-number (DNIS) digits expected on CAS channels, 0 to 7.
