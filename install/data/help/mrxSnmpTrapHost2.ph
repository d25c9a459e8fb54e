IP address of the second host that receives traps.
