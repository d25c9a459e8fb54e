IP address handed to the SLIP or PPP caller of this port. Setup mode's
Remote Address page hands out consecutive addresses to a range of ports.
Belongs to one port; not copied.
