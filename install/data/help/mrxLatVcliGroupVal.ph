LAT groups reachable from the device's virtual command line.
