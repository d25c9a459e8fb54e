Number of unexpected disconnects (1 to 255) that raise a trap.
