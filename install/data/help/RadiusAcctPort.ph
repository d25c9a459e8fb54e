UDP port of RADIUS accounting on the servers (1646 or 1813).
