Value of the endpoint discriminator for the classes local (letters and
digits) and directoryNumber (digits, blanks and * , - .).
