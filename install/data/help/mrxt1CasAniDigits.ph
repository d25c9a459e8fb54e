Number of calling-number (ANI) digits expected on CAS channels, 0 to 255.
