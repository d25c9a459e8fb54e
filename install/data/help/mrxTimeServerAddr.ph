IP address of the host from which the device takes the time of day
when it starts. 0.0.0.0 means none.
