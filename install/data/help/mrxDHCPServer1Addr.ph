IP address of the DHCP server to which the device relays address
requests for dial-in users. 0.0.0.0 means none.
