IP address of the preferred load host, the host from which the device
loads its software image and its configuration file. The configuration
file editor works only when the device booted from this host.
