IP address of the first name server the device asks to resolve host
names. 0.0.0.0 means none.
