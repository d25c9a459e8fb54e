TCP port of the dedicated connection (23 telnet, 513 rlogin, or the
port of another service).
