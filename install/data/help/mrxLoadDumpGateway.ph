IP address of the gateway through which the load and dump hosts are
reached when they are not on the device's own network. 0.0.0.0 means none.
