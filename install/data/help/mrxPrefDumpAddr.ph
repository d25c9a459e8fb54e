IP address of the host that receives the device's memory dump after a
crash or a dump-and-boot. 0.0.0.0 means the load host.
