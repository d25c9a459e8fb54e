Shared secret between the device and the RADIUS servers. It must be
the same as in the servers' client list.
