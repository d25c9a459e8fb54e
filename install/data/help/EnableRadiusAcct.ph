enabled: the device sends accounting records to the RADIUS servers.
