UDP port of RADIUS authentication on the servers (1645 or 1812).
