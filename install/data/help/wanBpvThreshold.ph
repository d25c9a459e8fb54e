Bipolar violations within a 15-minute interval (1 to 255) that raise a
WAN trap.
