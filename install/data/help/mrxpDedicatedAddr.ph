IP address of the host to which a port in dedicated mode connects.
