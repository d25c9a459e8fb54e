Largest packet PPP sends on the port, in bytes (64 to 1500).
