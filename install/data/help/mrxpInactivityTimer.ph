Minutes of inactivity after which any network session (PPP, SLIP,
telnet, ...) on the port is ended; 0 never ends it.
