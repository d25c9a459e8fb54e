Subnet mask of the remote network behind a SLIP or PPP caller of this
port (255.255.255.0 for a single host network).
