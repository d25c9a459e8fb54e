enabled: users of the virtual command line (telnet sessions to the
device itself) must also log in.
