IP address of the host that receives the device's log messages
(syslog). 0.0.0.0 means that nothing is logged over the network.
