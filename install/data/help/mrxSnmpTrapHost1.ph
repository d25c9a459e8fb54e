IP address of the first host that receives the device's traps.
